#include "measure/ZeroResetAction.h"

#include "app/TformMain.h"
#include "link/DeviceSession.h"
#include "measure/MeasurementController.h"

#include <QPushButton>
#include <QTimer>

const ZeroResetAction::Kind ZeroResetAction::kZeroing{QStringLiteral("MZ"), 47, 104};
const ZeroResetAction::Kind ZeroResetAction::kReset{QStringLiteral("Reset"), 57, 105};

void ZeroResetAction::run(TformMain &window, MeasurementController &measurement, const Kind &kind) {
    window.TimerMessung->stop();
    window.state.abortFlag = false;
    window.beginAction(DeviceAction::ZeroReset);
    // The measurement may be stopped while the action runs; each step asks anew.
    const auto measuring = [&window] { return window.state.measurementRunning; };
    perform(window, kind, measuring, [&measurement](const std::function<void()> &send) {
        MeasurementController::ExchangeScope scope(measurement);
        send();
    });
    if (measuring())
        window.TimerMessung->start();
    window.endAction();
}

void ZeroResetAction::perform(DeviceSession &session, const Kind &kind,
                              const std::function<bool()> &portHeld,
                              const std::function<void(const std::function<void()> &)> &exchange) {
    session.setStatus(session.message(kind.runningText) + session.portSuffix());
    if (!portHeld()) {
        session.openPort();
        session.delay(kSettleMs);
    }
    const auto send = [&] {
        // Without a measurement there is no button that could abort endless "Err" replies.
        if (portHeld())
            session.send(kind.command);
        else
            session.sendUnabortable(kind.command);
    };
    if (exchange)
        exchange(send);
    else
        send();
    session.delay(kFinishMs);
    session.setStatus(session.message(kind.endText));
    if (!portHeld())
        session.closePort();
}

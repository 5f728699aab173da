#include "measure/ZeroResetAction.h"

#include "app/MeasurementController.h"
#include "link/OperationRunner.h"

const ZeroResetAction::Kind ZeroResetAction::kZeroing{QStringLiteral("MZ"), 47, 104};
const ZeroResetAction::Kind ZeroResetAction::kReset{QStringLiteral("Reset"), 57, 105};

void ZeroResetAction::run(OperationRunner &runner, MeasurementController &measurement,
                          const Kind &kind) {
    runner.pausePolling();
    runner.clearAbort();
    runner.beginAction(DeviceAction::ZeroReset);
    // The measurement may be stopped while the action runs; each step asks anew.
    const auto measuring = [&runner] { return runner.measurementRunning(); };
    perform(runner, kind, measuring, [&measurement](const std::function<void()> &send) {
        MeasurementController::ExchangeScope scope(measurement);
        send();
    });
    if (measuring())
        runner.resumePolling();
    runner.endAction();
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

#include "measure/ZeroResetAction.h"

#include "app/TformMain.h"
#include "measure/MeasurementController.h"

#include <QPushButton>
#include <QTimer>

const ZeroResetAction::Kind ZeroResetAction::kZeroing{QStringLiteral("MZ"), 47, 104};
const ZeroResetAction::Kind ZeroResetAction::kReset{QStringLiteral("Reset"), 57, 105};

void ZeroResetAction::run(TformMain &window, MeasurementController &measurement, const Kind &kind) {
    window.TimerMessung->stop();
    window.state.abortFlag = false;
    window.beginAction(DeviceAction::ZeroReset);
    window.setStatus(window.msg(kind.runningText) + window.portSuffix());

    if (!window.state.measurementRunning) {
        window.openPort();
        window.Delay(kSettleMs);
    }
    {
        MeasurementController::ExchangeScope scope(measurement);
        // Without a measurement there is no button that could abort endless "Err" replies.
        if (window.state.measurementRunning)
            window.SendToCom(kind.command);
        else
            window.SendToComUnabortable(kind.command);
    }
    window.Delay(kFinishMs);
    window.setStatus(window.msg(kind.endText));

    if (window.state.measurementRunning)
        window.TimerMessung->start();
    else
        window.closePort();
    window.endAction();
}

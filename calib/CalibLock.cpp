#include "calib/CalibLock.h"

#include "app/TformMain.h"

#include <QPushButton>
#include <QTimer>

namespace {
// The device needs a moment after the port opens before it takes the first command.
constexpr int kSettleAfterOpenMs = 1000;
} // namespace

void CalibLock::begin(const QString &statusText) {
    window_.TimerMessung->stop();
    window_.state.abortFlag = false;
    window_.beginAction(DeviceAction::Calibrating);
    window_.setStatus(statusText);
    if (!window_.state.measurementRunning)
        openPort();
}

void CalibLock::openPort() {
    window_.openPort();
    window_.Delay(kSettleAfterOpenMs);
}

void CalibLock::end() {
    if (window_.state.measurementRunning)
        window_.TimerMessung->start();
    else
        window_.closePort();
    window_.endAction();
}

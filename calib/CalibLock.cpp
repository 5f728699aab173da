#include "calib/CalibLock.h"

#include "link/OperationRunner.h"

namespace {
// The device needs a moment after the port opens before it takes the first command.
constexpr int kSettleAfterOpenMs = 1000;
} // namespace

void CalibLock::begin(const QString &statusText) {
    runner_.pausePolling();
    runner_.clearAbort();
    runner_.beginAction(DeviceAction::Calibrating);
    runner_.setStatus(statusText);
    if (!runner_.measurementRunning())
        openPort();
}

void CalibLock::openPort() {
    runner_.openPort();
    runner_.delay(kSettleAfterOpenMs);
}

void CalibLock::end() {
    if (runner_.measurementRunning())
        runner_.resumePolling();
    else
        runner_.closePort();
    runner_.endAction();
}

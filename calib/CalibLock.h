#pragma once

// calib/: the field re-calibration's frame around the device and the reading of its replies.
// calib/ui/ holds the two re-calibration dialogs.

#include <QString>

class OperationRunner;

// The frame around both re-calibration procedures. They work with and without the measurement
// mode: while it runs it keeps the port open, so only its timer is paused and restarted;
// otherwise the procedure opens and closes the port itself. Failures are left to the global
// handler, which restores the window.
class CalibLock {
public:
    explicit CalibLock(OperationRunner &runner) : runner_(runner) {}

    // Pauses the measurement timer, disables every control that could start a second device
    // action, shows `statusText` and opens the port unless the measurement mode holds it.
    void begin(const QString &statusText);
    // Restarts the measurement timer, or closes the port and releases the settings controls.
    void end();
    // Opens the port and gives the device its moment to settle.
    void openPort();

private:
    OperationRunner &runner_;
};

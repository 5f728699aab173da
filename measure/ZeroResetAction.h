#pragma once

#include <QString>

class MeasurementController;
class TformMain;

// Zeroing ("MZ") and device reset ("Reset"): one action command, with or without a running
// measurement, which is paused for the action and then goes on with its history.
class ZeroResetAction {
public:
    struct Kind {
        QString command;
        int runningText; // catalogue entry shown with the port while the action runs
        int endText;     // catalogue entry shown at the end
    };
    static const Kind kZeroing;
    static const Kind kReset;

    // Waits of the action: before the command when the port was just opened, and after it,
    // which gives the device time to finish.
    static constexpr int kSettleMs = 1000;
    static constexpr int kFinishMs = 5000;

    static void run(TformMain &window, MeasurementController &measurement, const Kind &kind);
};

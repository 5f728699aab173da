#pragma once

#include "i18n/CatalogueEntry.h"

#include <QString>
#include <functional>

class DeviceSession;
class OperationRunner;

// Zeroing ("MZ") and device reset ("Reset"): one action command, with or without a running
// measurement, which is paused for the action and then goes on with its history.
class ZeroResetAction {
public:
    struct Kind {
        QString command;
        CatalogueEntry runningText; // shown with the port while the action runs
        CatalogueEntry endText;     // shown at the end
    };
    static const Kind kZeroing;
    static const Kind kReset;

    // Waits of the action: before the command when the port was just opened, and after it,
    // which gives the device time to finish.
    static constexpr int kSettleMs = 1000;
    static constexpr int kFinishMs = 5000;

    // The window's action: pauses a running measurement, takes the controls, and gives them
    // back at the end.
    static void run(OperationRunner &runner, const Kind &kind);
    // The device side: status texts, waits and the command. `portHeld` tells whether a
    // measurement holds the port open (and offers its stop button as the abort); else the port
    // is opened and closed here and the command's resends on "Err" are bounded.
    static void perform(DeviceSession &session, const Kind &kind,
                        const std::function<bool()> &portHeld);
};

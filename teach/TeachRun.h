#pragma once

// teach/: the production teach run and its bench: the run's steps, the instrument buses behind
// one session interface (VISA, linux-gpib, Prologix, LAN, simulated), the bench check, the
// teach values with their file and transfer, the stored instrument addresses. teach/ui/ holds
// the teach page and the instrument settings dialog.

#include "teach/TeachRunContext.h"

#include <QStringList>
#include <vector>

// The production teach run: locks the window, optionally restores the factory state, puts the
// device into teach mode, teaches the chosen groups (internal pressure, OUT-D current and
// voltage, the four input sections), has the device store them and returns it to normal mode.
// Failures leave it as exceptions; an abort lets it unwind through its remaining steps.
class TeachRun {
public:
    TeachRun(OperationRunner &runner, TeachRunView &view, InstrumentBackend &instruments,
             const GpibSettings &gpib);
    void run();

    // Value labels of the seven groups, keyed by the check box that selects the group.
    struct Group {
        const char *checkBox;
        QStringList labels;
    };
    static std::vector<Group> groups();

private:
    void lockWindow();
    void prepareGroupLabels();
    bool anyGroupChecked() const;
    void restoreFactoryState();
    void switchMode(bool teachMode);
    void teachGroups();
    void storeTeachValues();
    void finish();

    TeachRunContext context_;
};

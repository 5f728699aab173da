#pragma once

#include "teach/BusWait.h"
#include "teach/InstrumentBackend.h"

#include <memory>

class InstrumentBackend;
class TformMain;

// The teach tab's device actions and the production teach run. Owned by the main window.
class TeachController {
public:
    explicit TeachController(TformMain &window);

    // The production teach run, synchronously; returns when it has ended and throws what ended
    // it early. A click while a run is still unwinding starts nothing.
    void runTeach();
    bool runActive() const { return runActive_; }
    // The abort button: the run stops at its next check and a running wait ends at once.
    void abortTeach();
    // Sets the abort flag and gives up the abort button. The teach buttons come back only when
    // no run is left to unwind: a new run, a load or a send must not start inside the old run.
    void requestStop();
    // The instrument backend the tool settings select, for the next run.
    std::unique_ptr<InstrumentBackend> instrumentBackend() const;
    // The bench check of the options dialog: its result in a message box.
    void benchCheck(const InstrumentBackend::Selection &selection, const GpibSettings &gpib);

private:
    TformMain &window_;
    bool runActive_ = false;
};

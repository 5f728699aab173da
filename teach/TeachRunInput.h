#pragma once

#include "teach/AnalogPoints.h"
#include "teach/DaSearch.h"
#include "teach/InstrumentSession.h"

#include <QString>
#include <memory>

class TeachRunContext;

// An input section of the teach run (IN-1 or IN-2, current or voltage): the data-acquisition
// unit routes its source to the input and, for each reference point, the DA search adjusts the
// sourced voltage until the measured signal meets the reference; then the device records its
// own reading (unless the device is only simulated).
class TeachRunInput : private DaSearch::Driver {
public:
    static constexpr int SettleMs = 1000;

    TeachRunInput(TeachRunContext &context, const InputSection &section);
    void run();

private:
    void teach(int sourceMillivolts);
    double measureAt(int millivolts) override;
    void passMeasured(int millivolts, double measured) override;
    bool abortRequested() override;
    // "IN-1: Stützstelle 3 (12 mA" for the point being taught.
    QString pointText() const;
    bool current() const { return section_.quantity == Quantity::Current; }

    TeachRunContext &context_;
    const InputSection &section_;
    std::unique_ptr<InstrumentSession> daq_;
    const InputPoint *point_ = nullptr;
};

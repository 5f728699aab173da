#pragma once

#include "teach/AnalogPoints.h"
#include "teach/DaSearch.h"
#include "teach/InstrumentSession.h"

#include <QString>
#include <memory>

class TeachRunContext;

// An OUT-D section of the teach run (current or voltage): for each reference point the DA
// search sets the device's output DAC, lets it settle and measures it with the data-acquisition
// unit; the DA value found is shown and stored in the device.
class TeachRunOutput : private DaSearch::Driver {
public:
    static constexpr int SettleMs = 3000;

    TeachRunOutput(TeachRunContext &context, Quantity quantity);
    void run();

private:
    double measureAt(int da) override;
    void passMeasured(int da, double measured) override;
    bool abortRequested() override;
    // "OUT-D: Stützstelle 1 (4" for the point being taught.
    QString pointText() const;
    QString unitText() const;

    TeachRunContext &context_;
    Quantity quantity_;
    std::unique_ptr<InstrumentSession> daq_;
    const OutputPoint *point_ = nullptr;
};

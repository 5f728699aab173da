#pragma once

#include "sim/DeviceCoupling.h"

namespace sim {

// A bench with no device connected: the pressure goes nowhere and the output reads nothing.
class UnwiredCoupling : public DeviceCoupling {
public:
    void setGeneratedPressure(double) override {}
    double outputCurrentMa() override { return 0.0; }
    double outputVoltageV() override { return 0.0; }
    void setInputCurrent(int, double) override {}
    void setInputVoltage(int, double) override {}
};

} // namespace sim

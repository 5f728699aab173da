#include "sim/AnalogFrontEnd.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr double kPressureMid = 32768.0;
constexpr double kPressureCountsAtFullScale = 25000.0;

// Each input has its own small gain and offset error, as real parts do.
constexpr double kInCurrentGain[2] = {500.0, 498.5}; // counts per mA
constexpr double kInCurrentOffset[2] = {12.0, 9.0};
constexpr double kInVoltageGain[2] = {955.0, 957.2}; // counts per V
constexpr double kInVoltageOffset[2] = {7.0, 4.0};

constexpr double kOutCurrentZeroDa = 64.5;
constexpr double kOutCurrentPerDa = 16.0 / 2914.0; // mA
constexpr double kOutVoltageZeroDa = 70.0;
constexpr double kOutVoltagePerDa = 10.0 / 3306.0; // V

int clampRaw(double counts) {
    return static_cast<int>(std::lround(std::clamp(counts, 0.0, double(AnalogFrontEnd::RawMax))));
}

int inputSlot(int input) {
    return input == 2 ? 1 : 0;
}

} // namespace

int AnalogFrontEnd::pressureCounts(double pascal, double fullScalePa) {
    return clampRaw(kPressureMid + pascal * kPressureCountsAtFullScale / fullScalePa);
}

int AnalogFrontEnd::inputCurrentCounts(int input, double milliamps) {
    const int i = inputSlot(input);
    return clampRaw(kInCurrentOffset[i] + milliamps * kInCurrentGain[i]);
}

int AnalogFrontEnd::inputVoltageCounts(int input, double volts) {
    const int i = inputSlot(input);
    return clampRaw(kInVoltageOffset[i] + volts * kInVoltageGain[i]);
}

double AnalogFrontEnd::outputCurrentMa(int da) {
    return std::max(0.0, (da - kOutCurrentZeroDa) * kOutCurrentPerDa);
}

double AnalogFrontEnd::outputVoltageV(int da) {
    return std::max(0.0, (da - kOutVoltageZeroDa) * kOutVoltagePerDa);
}

int AnalogFrontEnd::daForCurrent(double milliamps) {
    return static_cast<int>(std::lround(kOutCurrentZeroDa + milliamps / kOutCurrentPerDa));
}

int AnalogFrontEnd::daForVoltage(double volts) {
    return static_cast<int>(std::lround(kOutVoltageZeroDa + volts / kOutVoltagePerDa));
}

} // namespace sim

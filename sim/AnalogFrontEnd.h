#pragma once

namespace sim {

// The simulated hardware between the physical world and the device's numbers: the pressure
// sensor's ADC, the input ADCs and the output DACs. Pure conversions, so the device model and
// the instrument simulators agree on them.
class AnalogFrontEnd {
public:
    // Raw counts of the pressure sensor (16 bit, mid-scale at 0 Pa, full scale at 25000 counts
    // from the middle). Clamped to 0..65535.
    static int pressureCounts(double pascal, double fullScalePa);

    // Raw counts of an input (1 or 2) reading a current in mA or a voltage in V.
    static int inputCurrentCounts(int input, double milliamps);
    static int inputVoltageCounts(int input, double volts);

    // What the output OUT-D delivers for a DA value (never below 0), and the inverse.
    static double outputCurrentMa(int da);
    static double outputVoltageV(int da);
    static int daForCurrent(double milliamps);
    static int daForVoltage(double volts);

    static constexpr int RawMax = 65535;
    static constexpr int DaMax = 4095;
};

} // namespace sim

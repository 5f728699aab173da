#pragma once

namespace sim {

// What the bench instruments do to the device under test and what they see of it: the wiring
// between the simulated pressure controller, the data-acquisition unit and the device.
class DeviceCoupling {
public:
    virtual ~DeviceCoupling() = default;

    // Pressure the controller generates, as a magnitude in Pa. The valves driven by the serial
    // port's modem lines decide which port of the device gets it.
    virtual void setGeneratedPressure(double pascal) = 0;
    // What the output OUT-D delivers now: mA in current mode, V in voltage mode, else 0.
    virtual double outputCurrentMa() = 0;
    virtual double outputVoltageV() = 0;
    // The signal the input multiplexer routes to input 1 or 2.
    virtual void setInputCurrent(int input, double milliamps) = 0;
    virtual void setInputVoltage(int input, double volts) = 0;
};

} // namespace sim

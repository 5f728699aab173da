#pragma once

#include "sim/DeviceCoupling.h"

#include <functional>

namespace sim {

class DeviceModel;

// State of the serial port's modem lines, which switch the pressure valves.
struct ModemLines {
    bool dtr = false;
    bool rts = false;
};

// The bench wired to a simulated device. The model is reached through `access`, so the same
// coupling serves a model in the test's hands and one behind a thread-safe server. The modem
// lines come from the port the tool drives.
class ModelCoupling : public DeviceCoupling {
public:
    using Access = std::function<void(const std::function<void(DeviceModel &)> &)>;
    using Lines = std::function<ModemLines()>;

    ModelCoupling(Access access, Lines lines);

    // DTR alone routes the pressure to the plus port, RTS alone to the minus port; with both
    // lines alike both ports see the same pressure (or none), so the difference is 0.
    static double sideSign(ModemLines lines);

    void setGeneratedPressure(double pascal) override;
    // Applies the generated pressure again for the current modem lines; the port calls it when
    // a line changes.
    void linesChanged();
    double outputCurrentMa() override;
    double outputVoltageV() override;
    void setInputCurrent(int input, double milliamps) override;
    void setInputVoltage(int input, double volts) override;

private:
    Access access_;
    Lines lines_;
    double generatedPa_ = 0.0;
};

} // namespace sim

#pragma once

#include "sim/ModelCoupling.h"

#include <mutex>

namespace sim {

// A ModelCoupling shared by two threads: the bench instruments on the event loop and the
// device's server thread, which sets the valves. One lock around every call; the device's own
// lock is always taken after it.
class LockedCoupling : public DeviceCoupling {
public:
    explicit LockedCoupling(ModelCoupling::Access access)
        : coupling_(std::move(access), [this] { return lines_; }) {}

    void setLines(ModemLines lines) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (lines.dtr == lines_.dtr && lines.rts == lines_.rts)
            return;
        lines_ = lines;
        coupling_.linesChanged();
    }
    void setGeneratedPressure(double pascal) override {
        std::lock_guard<std::mutex> lock(mutex_);
        coupling_.setGeneratedPressure(pascal);
    }
    double outputCurrentMa() override {
        std::lock_guard<std::mutex> lock(mutex_);
        return coupling_.outputCurrentMa();
    }
    double outputVoltageV() override {
        std::lock_guard<std::mutex> lock(mutex_);
        return coupling_.outputVoltageV();
    }
    void setInputCurrent(int input, double milliamps) override {
        std::lock_guard<std::mutex> lock(mutex_);
        coupling_.setInputCurrent(input, milliamps);
    }
    void setInputVoltage(int input, double volts) override {
        std::lock_guard<std::mutex> lock(mutex_);
        coupling_.setInputVoltage(input, volts);
    }

private:
    std::mutex mutex_;
    ModemLines lines_;
    ModelCoupling coupling_;
};

} // namespace sim

#pragma once

#include <array>
#include <cstdint>
#include <random>

namespace sim {

// What makes a simulated reading look like a sensor: a slow drift that wanders within a small
// band, plus white noise. Seedable, so a test sees the same sequence every run.
class SensorNoise {
public:
    enum Channel { Pressure = 0, Input1 = 1, Input2 = 2 };

    explicit SensorNoise(std::uint32_t seed = 1);

    // Off: every call returns 0 (tests that want exact readings).
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isEnabled() const { return enabled_; }

    // Offset for one reading of a channel whose measuring span is `span` (same unit).
    double disturb(Channel channel, double span);
    // Whole-count jitter of a raw reading, within -counts..counts.
    int jitter(int counts);

private:
    double uniform();
    double gaussian();

    std::mt19937 rng_;
    std::array<double, 3> drift_{};
    bool enabled_ = true;
};

} // namespace sim

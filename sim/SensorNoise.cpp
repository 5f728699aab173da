#include "sim/SensorNoise.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
constexpr double kDriftStep = 0.0002;  // of the span, per reading
constexpr double kDriftLimit = 0.002;  // of the span
constexpr double kNoiseSigma = 0.0004; // of the span
} // namespace

SensorNoise::SensorNoise(std::uint32_t seed) : rng_(seed) {}

double SensorNoise::disturb(Channel channel, double span) {
    if (!enabled_)
        return 0.0;
    double &drift = drift_[channel];
    const double limit = kDriftLimit * span;
    drift = std::clamp(drift + gaussian() * kDriftStep * span, -limit, limit);
    return drift + gaussian() * kNoiseSigma * span;
}

int SensorNoise::jitter(int counts) {
    if (!enabled_ || counts <= 0)
        return 0;
    return static_cast<int>(rng_() % static_cast<std::uint32_t>(2 * counts + 1)) - counts;
}

// Own conversions rather than std distributions, whose sequences differ between libraries.
double SensorNoise::uniform() {
    return (static_cast<double>(rng_()) + 0.5) / 4294967296.0;
}

double SensorNoise::gaussian() {
    const double u1 = uniform();
    const double u2 = uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
}

} // namespace sim

#include "measure/ChartRanges.h"

#include <cmath>

namespace {

// ((n + 1) a - b) / n: a moved away from b by an n-th of their distance. Extreme scalings where
// the product overflows take the equal form that does not.
double beyond(double a, double b, double n) {
    const double plain = ((n + 1.0) * a - b) / n;
    if (std::isfinite(plain) || !std::isfinite(a) || !std::isfinite(b))
        return plain;
    return a + (a / n - b / n);
}

} // namespace

ValueRange ChartRanges::pressureRange(int measRangeIndex, int unitPIndex) {
    double limit = measRangeIndex == 1 ? 120.0 : 250.0;
    if (unitPIndex > 0)
        limit /= 100.0;
    return {-limit, limit};
}

bool ChartRanges::inputMeasuresPressure(int input, int extPressIndex) {
    if (input == 1)
        return extPressIndex == 2 || extPressIndex == 3;
    if (input == 2)
        return extPressIndex == 1 || extPressIndex == 3;
    return false;
}

ValueRange ChartRanges::inputRange(double scalingDown, double scalingUp, bool measuresPressure,
                                   int unitIndex, int signalIndex) {
    ValueRange range{scalingDown, scalingUp};
    if (measuresPressure && unitIndex > 0) {
        range.lower /= 100.0;
        range.upper /= 100.0;
    }
    return widenForSignal(range, signalIndex);
}

ValueRange ChartRanges::widenForSignal(const ValueRange &scaling, int signalIndex) {
    double d = scaling.lower;
    double u = scaling.upper;
    switch (signalIndex) {
    case kSignal0To20mA:
        u = beyond(u, d, 20.0);
        break;
    case kSignal4To20mA:
        d = beyond(d, u, 16.0);
        u = beyond(u, d, 16.0);
        break;
    case kSignal0To10V:
        u = beyond(u, d, 10.0);
        break;
    default:
        break;
    }
    return {d, u};
}

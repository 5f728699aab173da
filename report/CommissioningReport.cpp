#include "report/CommissioningReport.h"

#include <algorithm>
#include <cmath>

void ChannelCheck::add(const HistoryPoint &reading) {
    readings.push_back(reading);
    if (reading.state == PointState::Underflow || reading.state == PointState::Overflow) {
        ++outOfRange;
        return;
    }
    if (reading.state != PointState::Value || !std::isfinite(reading.value))
        return;
    minimum = values == 0 ? reading.value : std::min(minimum, reading.value);
    maximum = values == 0 ? reading.value : std::max(maximum, reading.value);
    // A running mean cannot overflow where a sum of large readings could.
    ++values;
    mean += (reading.value - mean) / values;
}

#include "measure/ChannelHistory.h"

#include <algorithm>

void ChannelHistory::clearStates() {
    for (HistoryPoint &point : points_)
        point.state = PointState::Empty;
}

void ChannelHistory::setValue(int index, double value) {
    HistoryPoint &point = points_.at(index);
    point.value = value;
    point.state = PointState::Value;
}

void ChannelHistory::setState(int index, PointState state) {
    points_.at(index).state = state;
}

void ChannelHistory::shiftTowardsStart() {
    std::copy(points_.begin() + 1, points_.end(), points_.begin());
}

int ChannelHistory::advance(int index, std::initializer_list<ChannelHistory *> histories) {
    if (index < kLastIndex)
        return std::max(index, -1) + 1;
    for (ChannelHistory *history : histories) {
        if (history)
            history->shiftTowardsStart();
    }
    return kLastIndex;
}

int ChannelHistory::clampIndex(int index) {
    return std::clamp(index, 0, kLastIndex);
}

#pragma once

#include <array>
#include <initializer_list>

// What the device answered for one measuring interval.
enum class PointState { Empty = 0, Underflow = 1, Overflow = 2, Value = 3 };

struct HistoryPoint {
    double value = 0.0;
    PointState state = PointState::Empty;
};

// The last 31 measuring intervals of one channel, oldest first. The history index that says
// which point the next poll writes is shared by all channels and kept by the caller.
class ChannelHistory {
public:
    static constexpr int kPointCount = 31;
    static constexpr int kLastIndex = kPointCount - 1;

    // Marks every point empty; the values stay, as a failed conversion may still fall back on them.
    void clearStates();

    // Throws std::out_of_range for an index outside 0..30.
    const HistoryPoint &at(int index) const { return points_.at(index); }
    HistoryPoint &at(int index) { return points_.at(index); }

    void setValue(int index, double value);
    void setState(int index, PointState state);

    // Point i takes point i + 1 for i = 0..29; the last point keeps its contents until the
    // next poll overwrites it.
    void shiftTowardsStart();

    // Moves the shared history index on by one measuring interval: below the last point it
    // grows by one; at the last point every history moves one place towards the start and the
    // index stays at the last point. Returns the new index.
    static int advance(int index, std::initializer_list<ChannelHistory *> histories);

    // An index forced into 0..30, so a stray index never reads outside the history.
    static int clampIndex(int index);

private:
    std::array<HistoryPoint, kPointCount> points_{};
};

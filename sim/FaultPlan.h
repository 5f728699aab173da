#pragma once

#include "sim/FaultRule.h"

#include <QByteArray>

#include <vector>

namespace sim {

// The fault rules of one simulated device and what they make of each received command.
// Delay rules add up; of the other rules the first one added that matches decides.
class FaultPlan {
public:
    struct Decision {
        bool normal = true; // answer as the device model says
        FaultRule::Kind kind = FaultRule::Kind::Delay;
        int delayMs = 0;
        QByteArray customReply;
    };

    void add(const FaultRule &rule) { rules_.push_back(rule); }
    void clear() { rules_.clear(); }
    bool isEmpty() const { return rules_.empty(); }

    // Consumes one use of every rule that fires.
    Decision decide(const QByteArray &line, int commandNumber);

    // The bytes that stand for "garbage" and "flood" on the line (neither holds a CR).
    static QByteArray garbageBytes();
    static QByteArray floodBytes();

private:
    std::vector<FaultRule> rules_;
};

} // namespace sim

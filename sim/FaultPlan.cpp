#include "sim/FaultPlan.h"

namespace sim {

namespace {
void useOnce(FaultRule &rule) {
    if (rule.count > 0)
        --rule.count;
}
} // namespace

FaultPlan::Decision FaultPlan::decide(const QByteArray &line, int commandNumber) {
    Decision decision;
    for (FaultRule &rule : rules_) {
        if (!rule.matches(line, commandNumber))
            continue;
        if (rule.kind == FaultRule::Kind::Delay) {
            decision.delayMs += rule.delayMs;
            useOnce(rule);
        } else if (decision.normal) {
            decision.normal = false;
            decision.kind = rule.kind;
            decision.customReply = rule.reply;
            useOnce(rule);
        }
    }
    return decision;
}

QByteArray FaultPlan::garbageBytes() {
    static const char bytes[] = {'\x80', '\xff', '\0', '\xe4', 'Z', '\0', '\xfe', '\x01', '\x9b'};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray FaultPlan::floodBytes() {
    QByteArray flood;
    while (flood.size() <= 2048)
        flood += "FLOOD0123456789 ";
    return flood;
}

} // namespace sim

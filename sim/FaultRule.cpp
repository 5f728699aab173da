#include "sim/FaultRule.h"

namespace sim {

FaultRule FaultRule::onCommand(const QByteArray &command, Kind kind, int count) {
    FaultRule rule;
    rule.kind = kind;
    rule.match = Match::Exact;
    rule.text = command;
    rule.count = count;
    return rule;
}

FaultRule FaultRule::onPrefix(const QByteArray &prefix, Kind kind, int count) {
    FaultRule rule = onCommand(prefix, kind, count);
    rule.match = Match::Prefix;
    return rule;
}

FaultRule FaultRule::onCommandNumber(int number, Kind kind, int count) {
    FaultRule rule;
    rule.kind = kind;
    rule.match = Match::FromCommandNumber;
    rule.commandNumber = number;
    rule.count = count;
    return rule;
}

FaultRule FaultRule::delayFrom(int number, int ms, int count) {
    FaultRule rule = onCommandNumber(number, Kind::Delay, count);
    rule.delayMs = ms;
    return rule;
}

FaultRule FaultRule::customReply(const QByteArray &command, const QByteArray &reply, int count) {
    FaultRule rule = onCommand(command, Kind::CustomReply, count);
    rule.reply = reply;
    return rule;
}

bool FaultRule::matches(const QByteArray &line, int number) const {
    if (count == 0)
        return false;
    switch (match) {
    case Match::Exact:
        return line == text;
    case Match::Prefix:
        return line.startsWith(text);
    case Match::FromCommandNumber:
        return number >= commandNumber;
    }
    return false;
}

} // namespace sim

#pragma once

#include <QByteArray>

namespace sim {

// One misbehaviour of the simulated device: which received commands it hits and what the
// device does to them instead of answering normally.
struct FaultRule {
    enum class Kind {
        Silence,     // no reply at all
        Err,         // reply exactly "Err" (the command is not executed)
        Empty,       // a bare CR
        Delay,       // the normal reply, delayMs later (adds to any other fault)
        Garbage,     // non-ASCII bytes and NUL, then CR
        NoCr,        // the normal reply without its CR
        Flood,       // more than 1024 bytes without any CR
        HangUp,      // close the pseudo-terminal, like an unplugged adapter; no reply
        CustomReply, // reply `reply` instead (the command is not executed)
    };
    enum class Match {
        Exact,             // the command line equals `text`
        Prefix,            // the command line begins with `text`
        FromCommandNumber, // the Nth received command (1-based) and every later one
    };
    static constexpr int Always = -1;

    Kind kind = Kind::Silence;
    Match match = Match::Exact;
    QByteArray text;
    int commandNumber = 1;
    int count = 1; // commands it hits before it wears off; Always = never wears off
    int delayMs = 0;
    QByteArray reply;

    static FaultRule onCommand(const QByteArray &command, Kind kind, int count = 1);
    static FaultRule onPrefix(const QByteArray &prefix, Kind kind, int count = 1);
    // With count 1 only command `number` is hit; with Always every command from it on.
    static FaultRule onCommandNumber(int number, Kind kind, int count = 1);
    static FaultRule delayFrom(int number, int ms, int count = Always);
    static FaultRule customReply(const QByteArray &command, const QByteArray &reply,
                                 int count = Always);

    bool matches(const QByteArray &line, int number) const;
};

} // namespace sim

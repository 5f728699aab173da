#pragma once

#include <QString>

// A connection to one bus instrument. The real bus and the simulated instruments are
// interchangeable behind it. Texts are written as they stand; read returns the reply with its
// line end.
class InstrumentSession {
public:
    static constexpr int DefaultReadCount = 1000;

    virtual ~InstrumentSession() = default;
    virtual void open(const QString &resource) = 0;
    virtual void write(const QString &text) = 0;
    virtual QString read(int maxCount = DefaultReadCount) = 0;
    virtual void close() = 0;
};

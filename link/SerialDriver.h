#pragma once

#include <QByteArray>
#include <QString>

// The operations the tool needs of a serial line. The real port and test doubles are
// interchangeable behind it. Failures throw EComPort.
class SerialDriver {
public:
    virtual ~SerialDriver() = default;

    virtual void open(const QString &devicePath) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void setBaudRate(int baud) = 0;
    virtual void clear(bool input, bool output) = 0;
    virtual void write(const QByteArray &data) = 0;
    // The bytes already received, up to maxCount, without waiting.
    virtual QByteArray read(int maxCount) = 0;
    // Waits until `terminator` is in the receive buffer or the time is up; true when it is there.
    virtual bool waitForByte(char terminator, int timeoutMs) = 0;
    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;
};

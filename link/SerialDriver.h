#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// The line settings of a serial port; the defaults are the device's: 9600 baud, 8 data bits,
// 1 stop bit, no parity, no flow control.
struct LineSettings {
    enum class StopBits { One, OneAndHalf, Two };
    enum class Parity { None, Odd, Even, Mark, Space };
    enum class Flow { None, Hardware, Software }; // Hardware: RTS/CTS; Software: XON/XOFF
    int baudRate = 9600;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
    Parity parity = Parity::None;
    Flow flow = Flow::None;

    bool operator==(const LineSettings &o) const {
        return baudRate == o.baudRate && dataBits == o.dataBits && stopBits == o.stopBits &&
               parity == o.parity && flow == o.flow;
    }
    bool operator!=(const LineSettings &o) const { return !(*this == o); }
};

// The operations the tool needs of a serial line. The real port and test doubles are
// interchangeable behind it. Failures throw EComPort.
class SerialDriver {
public:
    virtual ~SerialDriver() = default;

    virtual void open(const QString &devicePath) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Applied at once to an open line, and at every open.
    virtual void setLineSettings(const LineSettings &settings) = 0;
    virtual void clear(bool input, bool output) = 0;
    virtual void write(const QByteArray &data) = 0;
    // The bytes already received, up to maxCount, without waiting.
    virtual QByteArray read(int maxCount) = 0;
    // Called every few milliseconds while a reply is awaited; true ends the wait at once.
    using WhileWaiting = std::function<bool()>;
    // Opens like open(); a driver whose open takes time (a device server's connection) calls
    // `whileWaiting` meanwhile and stays closed when it returns true. A local port opens at once.
    virtual void openWaiting(const QString &devicePath, const WhileWaiting &whileWaiting) {
        Q_UNUSED(whileWaiting);
        open(devicePath);
    }
    // Waits until `terminator` is in the receive buffer or the time is up; true when it is there.
    // A driver that waits in real time calls `whileWaiting` (if set) meanwhile, so the caller
    // keeps its window painting and can end the wait; false when it did.
    virtual bool waitForByte(char terminator, int timeoutMs, const WhileWaiting &whileWaiting) = 0;
    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;
};

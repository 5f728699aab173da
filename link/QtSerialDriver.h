#pragma once

#include "link/SerialDriver.h"

#include <QSerialPort>

// The real serial line, through QSerialPort. The reply wait runs on the calling thread in short
// slices, handing over to the caller between them; nothing is connected to readyRead.
class QtSerialDriver : public SerialDriver {
public:
    QtSerialDriver();

    void open(const QString &devicePath) override;
    void close() override;
    bool isOpen() const override;
    void setLineSettings(const LineSettings &settings) override;
    void clear(bool input, bool output) override;
    void write(const QByteArray &data) override;
    QByteArray read(int maxCount) override;
    bool waitForByte(char terminator, int timeoutMs, const WhileWaiting &whileWaiting) override;
    void setDtr(bool on) override;
    void setRts(bool on) override;

    // Receive buffer size of the original driver: older bytes of a longer line are dropped.
    static constexpr int kInputBufferSize = 1024;
    // How often a reply wait hands over to its caller: short enough that a window keeps
    // painting smoothly and an abort takes effect at once.
    static constexpr int kWaitSliceMs = 15;

private:
    void takeArrivedBytes();
    void writeBuffered(const QByteArray &data);
    // Sets the port to settings_; an open port is re-set, a closed one takes them at open.
    void applySettings(const QString &operationText);
    [[noreturn]] void fail(const QString &operationText);

    QSerialPort port_;
    QByteArray received_;
    LineSettings settings_;
};

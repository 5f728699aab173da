#pragma once

#include "link/SerialDriver.h"
#include "link/TelnetCodec.h"

#include <QTcpSocket>

// A serial port behind a serial device server, named "tcp://HOST:PORT" (raw TCP: the bytes are
// the line's) or "rfc2217://HOST:PORT" (telnet with COM port control: the line settings and
// the modem lines travel with the data). The waits for the connection, the negotiation and a
// reply run on the calling thread in short slices like the local port's, so they can be ended. A
// refused, timed-out or dropped connection is an EComPort that names host and port and leaves the
// driver closed, so the next open connects anew.
class NetSerialDriver : public SerialDriver {
public:
    struct Address {
        bool rfc2217 = false;
        QString host;
        quint16 port = 0;
        bool valid = false;
    };
    // "tcp://host:port" or "rfc2217://host:port" (an IPv6 host in brackets); valid false else.
    static Address parse(const QString &text);
    // True for a text that names a device server (a scheme this driver serves), valid or not.
    static bool isNetworkAddress(const QString &text);

    explicit NetSerialDriver(int connectTimeoutMs = kConnectTimeoutMs);

    void open(const QString &address) override;
    // Connects and negotiates like open(), calling `whileWaiting` every few milliseconds
    // meanwhile; when it returns true the connection is dropped and the driver stays closed.
    void openWaiting(const QString &address, const WhileWaiting &whileWaiting) override;
    void close() override;
    bool isOpen() const override;
    void setLineSettings(const LineSettings &settings) override;
    void clear(bool input, bool output) override;
    void write(const QByteArray &data) override;
    QByteArray read(int maxCount) override;
    bool waitForByte(char terminator, int timeoutMs, const WhileWaiting &whileWaiting) override;
    void setDtr(bool on) override;
    void setRts(bool on) override;

    static constexpr int kConnectTimeoutMs = 3000;
    static constexpr int kWaitSliceMs = 15;
    static constexpr int kInputBufferSize = 1024;
    static constexpr int kPartialLineAnswerMs = 500;

private:
    // False when `whileWaiting` ended the wait.
    bool connect(const WhileWaiting &whileWaiting);
    void endPartialLine();
    void send(const QByteArray &bytes, const QString &operationText);
    void takeArrivedBytes(const QString &operationText);
    void quickAck();
    QString where() const;
    [[noreturn]] void fail(const QString &operationText, int code, const QString &reason);
    [[noreturn]] void failBySocket(const QString &operationText);

    QTcpSocket socket_;
    Address address_;
    TelnetCodec codec_;
    QByteArray received_;
    LineSettings settings_;
    int connectTimeoutMs_;
    bool opening_ = false;
};

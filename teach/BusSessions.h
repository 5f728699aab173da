#pragma once

#include "teach/BusStream.h"
#include "teach/InstrumentSession.h"

#include <QString>

// Which instrument of the bench a session talks to; the errors name it.
enum class InstrumentRole { PressureController, DaqUnit };
QString instrumentName(InstrumentRole role);

// The address text of a resource name "GPIB0::" + address + "::INSTR".
QString gpibAddressOf(const QString &resource);
// A GPIB primary address 0..30; throws EInstrumentBus naming `who` for anything else.
int primaryAddress(const QString &address, const QString &who);

// An instrument behind a Prologix-protocol adapter (GPIB-USB, GPIB-ETHERNET, AR488), on a
// serial device or a TCP connection. Each session opens the adapter, sets it up as controller
// without auto-read, EOI on the last byte and no added terminator, and addresses its
// instrument. Commands go out escaped (CR, LF, ESC and "+" after an ESC) and ended by LF.
class PrologixSession : public InstrumentSession {
public:
    static constexpr quint16 DefaultTcpPort = 1234;
    static constexpr int MaxReadTimeoutMs = 3000; // the adapters' limit of ++read_tmo_ms

    // `adapter`: a device path, or "host[:port]" when `tcp`.
    PrologixSession(const BusWait &wait, InstrumentRole role, QString adapter, bool tcp);
    ~PrologixSession() override;

    void open(const QString &resource) override;
    void write(const QString &text) override;
    QString read(int maxCount) override;
    void close() override;

    static QByteArray escaped(const QByteArray &data);

private:
    QString who() const;

    BusWait wait_;
    InstrumentRole role_;
    QString adapter_;
    bool tcp_;
    QString address_;
    BusStream stream_;
};

// An instrument on the LAN taking SCPI on a raw TCP socket; commands end with LF.
class LanSession : public InstrumentSession {
public:
    static constexpr quint16 DefaultPort = 5025;

    LanSession(const BusWait &wait, InstrumentRole role, QString hostPort);
    ~LanSession() override;

    void open(const QString &resource) override;
    void write(const QString &text) override;
    QString read(int maxCount) override;
    void close() override;

private:
    QString who() const;

    BusWait wait_;
    InstrumentRole role_;
    QString hostPort_;
    BusStream stream_;
};

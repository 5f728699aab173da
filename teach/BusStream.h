#pragma once

#include "teach/BusWait.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QIODevice;

// A byte stream to a bus adapter or a LAN instrument: a serial device or a TCP connection.
// Every call waits in slices (BusWait) and ends at its time-out with EInstrumentBus, whose
// message starts with `who` (what was tried: "Prologix-Adapter /dev/ttyUSB0").
class BusStream {
public:
    BusStream(BusWait wait, QString who);
    ~BusStream();
    BusStream(const BusStream &) = delete;
    BusStream &operator=(const BusStream &) = delete;

    // A serial device (115200 baud 8N1; adapters on USB ignore the rate).
    void openSerial(const QString &devicePath);
    void openTcp(const QString &host, quint16 port);
    bool isOpen() const;
    void close();

    // Not ended by the abort: a vent after an abort must still go out.
    void write(const QByteArray &bytes);
    // The bytes up to and including the next LF. Returns what came when the time is up (empty
    // for silence); the abort ends it with the user-abort error.
    QByteArray readLine(int timeoutMs, bool *complete = nullptr);
    // Drops whatever arrived unasked.
    void discardInput();

    const QString &who() const { return who_; }
    const BusWait &waits() const { return wait_; }
    [[noreturn]] void fail(const QString &what) const;

private:
    void takeArrived();

    BusWait wait_;
    QString who_;
    std::unique_ptr<QIODevice> device_;
    QByteArray received_;
};

// "host:port" or "host" (then `defaultPort`); false for a port that is no number in 1..65535.
bool splitHostPort(const QString &text, quint16 defaultPort, QString *host, quint16 *port);

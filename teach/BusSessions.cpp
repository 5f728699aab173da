#include "teach/BusSessions.h"

#include "link/TComPort.h"

namespace {

QString noReply(const QString &who, int ms) {
    return who + QStringLiteral(": keine Antwort innerhalb %1 ms").arg(ms);
}

} // namespace

QString instrumentName(InstrumentRole role) {
    return role == InstrumentRole::PressureController ? QStringLiteral("KMV700")
                                                      : QStringLiteral("Agilent 34970A");
}

QString gpibAddressOf(const QString &resource) {
    const QString head = QStringLiteral("GPIB0::");
    const QString tail = QStringLiteral("::INSTR");
    if (resource.startsWith(head) && resource.endsWith(tail) &&
        resource.size() >= head.size() + tail.size())
        return resource.mid(head.size(), resource.size() - head.size() - tail.size());
    return resource;
}

int primaryAddress(const QString &address, const QString &who) {
    bool ok = false;
    const int pad = address.trimmed().toInt(&ok);
    if (!ok || pad < 0 || pad > 30)
        throw EInstrumentBus(who + QStringLiteral(": \"") + address +
                             QStringLiteral("\" ist keine GPIB-Adresse (0 bis 30)"));
    return pad;
}

// --- Prologix ---

PrologixSession::PrologixSession(const BusWait &wait, InstrumentRole role, QString adapter,
                                 bool tcp)
    : wait_(wait), role_(role), adapter_(std::move(adapter)), tcp_(tcp),
      stream_(wait, QStringLiteral("Prologix-Adapter ") + adapter_) {}

PrologixSession::~PrologixSession() {
    close();
}

QString PrologixSession::who() const {
    return instrumentName(role_) + QStringLiteral(" an GPIB-Adresse ") + address_ +
           QStringLiteral(" über Prologix-Adapter ") + adapter_;
}

QByteArray PrologixSession::escaped(const QByteArray &data) {
    QByteArray out;
    out.reserve(data.size() + 4);
    for (const char c : data) {
        if (c == '\r' || c == '\n' || c == 27 || c == '+')
            out += char(27);
        out += c;
    }
    return out;
}

void PrologixSession::open(const QString &resource) {
    close();
    address_ = gpibAddressOf(resource);
    const int pad = primaryAddress(address_, who());
    if (tcp_) {
        QString host;
        quint16 port = 0;
        if (!splitHostPort(adapter_, DefaultTcpPort, &host, &port))
            throw EInstrumentBus(QStringLiteral("Prologix-Adapter: \"") + adapter_ +
                                 QStringLiteral("\" ist keine Angabe HOST[:PORT]"));
        stream_.openTcp(host, port);
    } else {
        QString device = adapter_;
        if (device.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            device = TComPort::defaultDevice(device);
        stream_.openSerial(device);
    }
    stream_.discardInput();
    // The adapter answers "++ver" itself: a device that does not is no adapter.
    stream_.write("++ver\n");
    bool complete = false;
    const QByteArray version = stream_.readLine(qMin(wait_.timeoutMs, MaxReadTimeoutMs), &complete);
    if (!complete) {
        stream_.close();
        throw EInstrumentBus(QStringLiteral("Prologix-Adapter ") + adapter_ +
                             QStringLiteral(": keine Antwort auf \"++ver\" (kein Adapter?)"));
    }
    const int readTimeout = qBound(1, wait_.timeoutMs, MaxReadTimeoutMs);
    stream_.write("++mode 1\n++auto 0\n++eoi 1\n++eos 3\n++read_tmo_ms " +
                  QByteArray::number(readTimeout) + "\n++addr " + QByteArray::number(pad) + "\n");
}

void PrologixSession::write(const QString &text) {
    if (!stream_.isOpen())
        return;
    stream_.write(escaped(text.toLatin1()) + '\n');
}

QString PrologixSession::read(int maxCount) {
    if (!stream_.isOpen() || maxCount <= 0)
        return QString();
    stream_.write("++read eoi\n");
    // The adapter gives up after its own read time-out and sends nothing; we wait a little longer.
    const int waitMs = qBound(1, wait_.timeoutMs, MaxReadTimeoutMs) + 500;
    bool complete = false;
    const QByteArray reply = stream_.readLine(waitMs, &complete);
    if (reply.isEmpty())
        throw EInstrumentBus(noReply(who(), waitMs));
    return QString::fromLatin1(reply.left(maxCount));
}

void PrologixSession::close() {
    stream_.close();
}

// --- LAN ---

LanSession::LanSession(const BusWait &wait, InstrumentRole role, QString hostPort)
    : wait_(wait), role_(role), hostPort_(std::move(hostPort)),
      stream_(wait, instrumentName(role) + QStringLiteral(" an LAN ") + hostPort_) {}

LanSession::~LanSession() {
    close();
}

QString LanSession::who() const {
    return instrumentName(role_) + QStringLiteral(" an LAN ") + hostPort_;
}

void LanSession::open(const QString &) {
    close();
    QString host;
    quint16 port = 0;
    if (!splitHostPort(hostPort_, DefaultPort, &host, &port))
        throw EInstrumentBus(who() + QStringLiteral(": keine Angabe HOST[:PORT]"));
    stream_.openTcp(host, port);
}

void LanSession::write(const QString &text) {
    if (stream_.isOpen())
        stream_.write(text.toLatin1() + '\n');
}

QString LanSession::read(int maxCount) {
    if (!stream_.isOpen() || maxCount <= 0)
        return QString();
    const QByteArray reply = stream_.readLine(wait_.timeoutMs);
    if (reply.isEmpty())
        throw EInstrumentBus(noReply(who(), wait_.timeoutMs));
    return QString::fromLatin1(reply.left(maxCount));
}

void LanSession::close() {
    stream_.close();
}

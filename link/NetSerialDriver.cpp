#include "link/NetSerialDriver.h"

#include "link/EComPort.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimer>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {
const QString kOpenText = QStringLiteral("Unable to open com port");
const QString kWaitText = QStringLiteral("WaitForEvent method failed");
const QString kWriteText = QStringLiteral("WriteFile function failed");
const QString kSetText = QStringLiteral("SetCommState function failed");
const QString kLinesText = QStringLiteral("EscapeCommFunction function failed");
// SET-CONTROL values of the modem lines.
constexpr unsigned char kDtrOn = 8, kDtrOff = 9, kRtsOn = 11, kRtsOff = 12;
} // namespace

NetSerialDriver::Address NetSerialDriver::parse(const QString &text) {
    static const QRegularExpression form(
        QStringLiteral("^(tcp|rfc2217)://(\\[[0-9A-Fa-f:.]+\\]|[A-Za-z0-9_.-]+):(\\d{1,5})$"),
        QRegularExpression::CaseInsensitiveOption);
    Address address;
    const auto match = form.match(text.trimmed());
    if (!match.hasMatch())
        return address;
    address.rfc2217 = match.captured(1).compare(QLatin1String("rfc2217"), Qt::CaseInsensitive) == 0;
    address.host = match.captured(2);
    if (address.host.startsWith(QLatin1Char('[')))
        address.host = address.host.mid(1, address.host.size() - 2);
    const int port = match.captured(3).toInt();
    address.port = quint16(port);
    address.valid = port > 0 && port <= 65535;
    return address;
}

bool NetSerialDriver::isNetworkAddress(const QString &text) {
    const QString t = text.trimmed();
    return t.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive) ||
           t.startsWith(QLatin1String("rfc2217://"), Qt::CaseInsensitive);
}

NetSerialDriver::NetSerialDriver(int connectTimeoutMs) : connectTimeoutMs_(connectTimeoutMs) {}

QString NetSerialDriver::where() const {
    const QString host = address_.host.contains(QLatin1Char(':'))
                             ? QLatin1Char('[') + address_.host + QLatin1Char(']')
                             : address_.host;
    return host + QLatin1Char(':') + QString::number(address_.port);
}

void NetSerialDriver::open(const QString &text) {
    openWaiting(text, {});
}

void NetSerialDriver::openWaiting(const QString &text, const WhileWaiting &whileWaiting) {
    if (isOpen())
        return;
    address_ = parse(text);
    if (!address_.valid) {
        throw EComPort(kOpenText, EINVAL,
                       QStringLiteral("\"%1\" is no device server address; write "
                                      "tcp://HOST:PORT or rfc2217://HOST:PORT")
                           .arg(text));
    }
    codec_ = TelnetCodec();
    received_.clear();
    opening_ = true;
    const auto opened = qScopeGuard([this] { opening_ = false; });
    socket_.abort();
    if (!connect(whileWaiting))
        return;
    // Replies are single short lines: they go out at once instead of waiting for more data.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (!address_.rfc2217)
        return;
    send(codec_.greeting(), kOpenText);
    // Line settings sent before the server took the COM port role could be ignored: wait for it.
    QDeadlineTimer deadline(connectTimeoutMs_);
    QDeadlineTimer handOver(kWaitSliceMs);
    while (!codec_.comPortAccepted()) {
        if (codec_.comPortRefused() || deadline.hasExpired())
            endPartialLine();
        if (codec_.comPortRefused()) {
            fail(kOpenText, EPROTO,
                 QStringLiteral("the device server refuses COM port control (RFC 2217); use "
                                "tcp:// for a raw TCP port"));
        }
        if (deadline.hasExpired()) {
            fail(kOpenText, ETIMEDOUT,
                 QStringLiteral("the device server did not take up COM port control (RFC "
                                "2217) within %1 ms; use tcp:// for a raw TCP port")
                     .arg(connectTimeoutMs_));
        }
        if (whileWaiting && handOver.hasExpired()) {
            if (whileWaiting()) {
                socket_.abort();
                return;
            }
            handOver.setRemainingTime(kWaitSliceMs);
        }
        const qint64 left = whileWaiting ? qMin(deadline.remainingTime(), handOver.remainingTime())
                                         : deadline.remainingTime();
        if (!socket_.waitForReadyRead(int(qMax<qint64>(1, left))) &&
            socket_.state() != QAbstractSocket::ConnectedState)
            failBySocket(kOpenText);
        takeArrivedBytes(kOpenText);
    }
    // The device expects the modem lines inactive until they are set, as on a local port.
    send(TelnetCodec::lineSettings(settings_) + TelnetCodec::control(kDtrOff) +
             TelnetCodec::control(kRtsOff),
         kOpenText);
    received_.clear();
}

bool NetSerialDriver::connect(const WhileWaiting &whileWaiting) {
    // Through an event loop of its own rather than a blocking wait (which would look the host up
    // blocking), so a window keeps painting while a distant or missing server takes its time;
    // `whileWaiting` gets its turn every few milliseconds and may end the wait.
    QEventLoop loop;
    bool timedOut = false;
    bool ended = false;
    QObject::connect(&socket_, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    QObject::connect(&socket_, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(connectTimeoutMs_, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    QTimer handOver;
    handOver.setInterval(kWaitSliceMs);
    QObject::connect(&handOver, &QTimer::timeout, &loop, [&] {
        handOver.stop(); // not again while whileWaiting pumps messages
        if (whileWaiting()) {
            ended = true;
            loop.quit();
            return;
        }
        handOver.start();
    });
    socket_.connectToHost(address_.host, address_.port);
    if (whileWaiting)
        handOver.start();
    if (socket_.state() != QAbstractSocket::ConnectedState)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    handOver.stop();
    QObject::disconnect(&socket_, nullptr, &loop, nullptr);
    if (socket_.state() == QAbstractSocket::ConnectedState)
        return true;
    if (ended) {
        socket_.abort();
        return false;
    }
    if (timedOut) {
        fail(kOpenText, ETIMEDOUT,
             QStringLiteral("no connection within %1 ms").arg(connectTimeoutMs_));
    }
    failBySocket(kOpenText);
}

void NetSerialDriver::endPartialLine() {
    // A server that is no RFC 2217 server may have passed the greeting on to the device as the
    // start of a line; a line end makes the device answer and forget it, so the next command
    // (over the right address) is not taken together with it. Best effort: the open fails anyway.
    if (socket_.state() != QAbstractSocket::ConnectedState || socket_.write("\r") != 1)
        return;
    socket_.waitForBytesWritten(100);
    // Its answer is taken here, so it does not wait in the server for the next connection.
    received_.clear();
    QDeadlineTimer deadline(kPartialLineAnswerMs);
    while (!received_.contains('\r') && !deadline.hasExpired() &&
           socket_.state() == QAbstractSocket::ConnectedState) {
        socket_.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        if (socket_.bytesAvailable() > 0)
            received_ += codec_.decode(socket_.readAll());
    }
    received_.clear();
}

void NetSerialDriver::close() {
    if (socket_.state() != QAbstractSocket::UnconnectedState) {
        socket_.disconnectFromHost();
        if (socket_.state() != QAbstractSocket::UnconnectedState)
            socket_.waitForDisconnected(200);
        socket_.abort();
    }
    received_.clear();
}

bool NetSerialDriver::isOpen() const {
    return socket_.state() == QAbstractSocket::ConnectedState;
}

void NetSerialDriver::setLineSettings(const LineSettings &settings) {
    settings_ = settings;
    // A raw TCP port is set at the server; over RFC 2217 an open port is re-set at once.
    if (isOpen() && address_.rfc2217)
        send(TelnetCodec::lineSettings(settings_), kSetText);
}

void NetSerialDriver::clear(bool input, bool output) {
    if (!isOpen())
        return;
    // No purge request goes to the server: it forwards what it reads at once, so nothing stale
    // waits there, and its acknowledgement would arrive as a second small segment ahead of the
    // reply, which TCP's delayed acknowledgement then holds back by tens of milliseconds.
    Q_UNUSED(output)
    if (input) {
        takeArrivedBytes(QStringLiteral("PurgeComm function failed"));
        received_.clear();
    }
}

void NetSerialDriver::write(const QByteArray &data) {
    send(address_.rfc2217 ? TelnetCodec::escape(data) : data, kWriteText);
}

void NetSerialDriver::send(const QByteArray &bytes, const QString &operationText) {
    if (bytes.isEmpty())
        return;
    if (!isOpen())
        fail(operationText, EPIPE, QStringLiteral("the connection is closed"));
    if (socket_.write(bytes) != bytes.size())
        failBySocket(operationText);
    // The same bound as the local port's write: 100 ms per character plus 1000 ms.
    QDeadlineTimer deadline(1000 + 100 * bytes.size());
    while (socket_.bytesToWrite() > 0) {
        if (deadline.hasExpired() ||
            !socket_.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
            failBySocket(operationText);
    }
}

QByteArray NetSerialDriver::read(int maxCount) {
    takeArrivedBytes(kWaitText);
    QByteArray out = received_.left(maxCount);
    received_.remove(0, out.size());
    return out;
}

bool NetSerialDriver::waitForByte(char terminator, int timeoutMs,
                                  const WhileWaiting &whileWaiting) {
    QDeadlineTimer deadline(timeoutMs);
    QDeadlineTimer handOver(kWaitSliceMs);
    for (;;) {
        takeArrivedBytes(kWaitText);
        if (received_.contains(terminator))
            return true;
        if (!isOpen())
            failBySocket(kWaitText);
        if (deadline.hasExpired())
            return false;
        if (whileWaiting && handOver.hasExpired()) {
            if (whileWaiting() || !isOpen())
                return false;
            handOver.setRemainingTime(kWaitSliceMs);
            continue;
        }
        const qint64 left = whileWaiting ? qMin(deadline.remainingTime(), handOver.remainingTime())
                                         : deadline.remainingTime();
        quickAck();
        socket_.waitForReadyRead(int(qMax<qint64>(0, left)));
    }
}

void NetSerialDriver::quickAck() {
    // A reply the server sends in pieces (as the serial line delivers it) waits for the
    // acknowledgement of the first piece; acknowledged at once, it is not held back. The kernel
    // drops the setting after a while, so it is set before every wait.
    const int on = 1;
    const auto descriptor = socket_.socketDescriptor();
    if (descriptor >= 0)
        ::setsockopt(int(descriptor), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}

void NetSerialDriver::setDtr(bool on) {
    // A raw TCP port has no modem lines to set, like a pseudo-terminal.
    if (address_.rfc2217)
        send(TelnetCodec::control(on ? kDtrOn : kDtrOff), kLinesText);
}

void NetSerialDriver::setRts(bool on) {
    if (address_.rfc2217)
        send(TelnetCodec::control(on ? kRtsOn : kRtsOff), kLinesText);
}

void NetSerialDriver::takeArrivedBytes(const QString &operationText) {
    if (socket_.bytesAvailable() <= 0)
        return;
    const QByteArray bytes = socket_.readAll();
    if (address_.rfc2217) {
        received_ += codec_.decode(bytes);
        const QByteArray replies = codec_.takeReplies();
        if (!replies.isEmpty() && isOpen())
            send(replies, operationText);
    } else {
        received_ += bytes;
    }
    if (received_.size() > kInputBufferSize)
        received_.remove(0, received_.size() - kInputBufferSize);
}

void NetSerialDriver::failBySocket(const QString &operationText) {
    switch (socket_.error()) {
    case QAbstractSocket::ConnectionRefusedError:
        fail(operationText, ECONNREFUSED,
             QStringLiteral("the connection was refused (is the device server running and "
                            "the port right?)"));
    case QAbstractSocket::HostNotFoundError:
        fail(operationText, EHOSTUNREACH, QStringLiteral("host not found"));
    case QAbstractSocket::SocketTimeoutError:
        if (socket_.state() != QAbstractSocket::ConnectedState) {
            fail(operationText, ETIMEDOUT,
                 QStringLiteral("no connection within %1 ms").arg(connectTimeoutMs_));
        }
        fail(operationText, ETIMEDOUT, QStringLiteral("the device server does not take data"));
    case QAbstractSocket::RemoteHostClosedError:
        fail(operationText, ECONNRESET, QStringLiteral("the device server closed the connection"));
    default:
        fail(operationText, EIO, QStringLiteral("the connection failed: ") + socket_.errorString());
    }
}

void NetSerialDriver::fail(const QString &operationText, int code, const QString &reason) {
    // An open's failure is named by the caller with the whole address; later ones name it here.
    const QString place = opening_ ? QString() : where() + QStringLiteral(": ");
    // Closed like an unplugged adapter: the next action connects anew.
    socket_.abort();
    received_.clear();
    throw EComPort(operationText, code, place + reason);
}

#include "teach/BusStream.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QTcpSocket>

BusStream::BusStream(BusWait wait, QString who) : wait_(std::move(wait)), who_(std::move(who)) {}

BusStream::~BusStream() {
    close();
}

void BusStream::fail(const QString &what) const {
    throw EInstrumentBus(who_ + QStringLiteral(": ") + what);
}

void BusStream::openSerial(const QString &devicePath) {
    close();
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(devicePath);
    port->setBaudRate(115200);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite)) {
        QString reason = port->errorString();
        if (port->error() == QSerialPort::PermissionError)
            reason += QStringLiteral(" (Gruppe 'dialout'?)");
        fail(QStringLiteral("lässt sich nicht öffnen: ") + reason);
    }
    device_ = std::move(port);
    received_.clear();
}

void BusStream::openTcp(const QString &host, quint16 port) {
    close();
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(host, port);
    QDeadlineTimer deadline(wait_.timeoutMs);
    while (socket->state() != QAbstractSocket::ConnectedState) {
        if (socket->state() == QAbstractSocket::UnconnectedState)
            fail(QStringLiteral("keine Verbindung: ") + socket->errorString());
        if (deadline.hasExpired())
            fail(QStringLiteral("keine Verbindung innerhalb %1 ms").arg(wait_.timeoutMs));
        wait_.handOver();
        wait_.throwIfAborted();
        socket->waitForConnected(int(qMin<qint64>(BusWait::SliceMs, deadline.remainingTime())));
    }
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    device_ = std::move(socket);
    received_.clear();
}

bool BusStream::isOpen() const {
    return device_ && device_->isOpen();
}

void BusStream::close() {
    if (!device_)
        return;
    if (auto *socket = qobject_cast<QTcpSocket *>(device_.get())) {
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState)
            socket->waitForDisconnected(100);
    }
    device_->close();
    device_.reset();
    received_.clear();
}

void BusStream::write(const QByteArray &bytes) {
    if (!isOpen())
        fail(QStringLiteral("Verbindung ist getrennt"));
    if (device_->write(bytes) != bytes.size())
        fail(QStringLiteral("Schreiben fehlgeschlagen: ") + device_->errorString());
    QDeadlineTimer deadline(wait_.timeoutMs);
    while (device_->bytesToWrite() > 0) {
        if (deadline.hasExpired())
            fail(QStringLiteral("Schreiben dauert länger als %1 ms").arg(wait_.timeoutMs));
        if (!device_->waitForBytesWritten(
                int(qMin<qint64>(BusWait::SliceMs, deadline.remainingTime())))) {
            if (!isOpen() || (qobject_cast<QTcpSocket *>(device_.get()) &&
                              static_cast<QTcpSocket *>(device_.get())->state() !=
                                  QAbstractSocket::ConnectedState))
                fail(QStringLiteral("Verbindung ist getrennt"));
            wait_.handOver();
        }
    }
}

void BusStream::takeArrived() {
    if (isOpen())
        received_ += device_->readAll();
}

QByteArray BusStream::readLine(int timeoutMs, bool *complete) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        takeArrived();
        const int end = received_.indexOf('\n');
        if (end >= 0) {
            if (complete)
                *complete = true;
            const QByteArray line = received_.left(end + 1);
            received_.remove(0, end + 1);
            return line;
        }
        if (deadline.hasExpired() || !isOpen())
            break;
        // The handing over comes first: a simulator in this process answers meanwhile. The
        // event loop may also take what arrives into the device's buffer, where a wait for
        // more would not see it.
        wait_.handOver();
        wait_.throwIfAborted();
        if (device_->bytesAvailable() == 0)
            device_->waitForReadyRead(
                int(qMin<qint64>(BusWait::SliceMs, deadline.remainingTime())));
        if (auto *socket = qobject_cast<QTcpSocket *>(device_.get());
            socket && socket->state() != QAbstractSocket::ConnectedState) {
            takeArrived();
            if (!received_.contains('\n'))
                fail(QStringLiteral("Verbindung wurde vom Gegenüber getrennt"));
        }
    }
    if (complete)
        *complete = false;
    return std::exchange(received_, QByteArray());
}

void BusStream::discardInput() {
    takeArrived();
    received_.clear();
}

bool splitHostPort(const QString &text, quint16 defaultPort, QString *host, quint16 *port) {
    const QString trimmed = text.trimmed();
    const int colon = trimmed.lastIndexOf(QLatin1Char(':'));
    if (colon < 0) {
        *host = trimmed;
        *port = defaultPort;
        return !trimmed.isEmpty();
    }
    bool ok = false;
    const uint number = trimmed.mid(colon + 1).toUInt(&ok);
    *host = trimmed.left(colon);
    *port = quint16(number);
    return ok && number >= 1 && number <= 65535 && !host->isEmpty();
}

#include "link/QtSerialDriver.h"

#include "link/EComPort.h"

#include <QDeadlineTimer>
#include <cerrno>
#include <unistd.h>

namespace {

int errnoFor(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError:
        return EACCES;
    case QSerialPort::OpenError:
        return EBUSY;
    case QSerialPort::UnsupportedOperationError:
        return ENOTTY;
    case QSerialPort::TimeoutError:
        return ETIMEDOUT;
    case QSerialPort::NoError:
        return 0;
    default:
        return EIO;
    }
}

bool lacksModemLines(QSerialPort::SerialPortError error) {
    // A pseudo-terminal has no modem lines; that is no failure of the port.
    return error == QSerialPort::UnsupportedOperationError || error == QSerialPort::NoError;
}

} // namespace

QtSerialDriver::QtSerialDriver() = default;

void QtSerialDriver::open(const QString &devicePath) {
    if (port_.isOpen())
        return;
    port_.setPortName(devicePath);
    applySettings(QStringLiteral("Unable to open com port"));
    if (!port_.open(QIODevice::ReadWrite))
        fail(QStringLiteral("Unable to open com port"));
    // Linux raises both lines on open; the device expects them inactive until set explicitly.
    port_.setDataTerminalReady(false);
    port_.setRequestToSend(false);
    port_.clearError();
    received_.clear();
}

void QtSerialDriver::close() {
    if (port_.isOpen())
        port_.close();
    received_.clear();
}

bool QtSerialDriver::isOpen() const {
    return port_.isOpen();
}

void QtSerialDriver::setLineSettings(const LineSettings &settings) {
    // Refused before anything changes, so the port keeps settings it can open with.
    if (settings.stopBits == LineSettings::StopBits::OneAndHalf) {
        throw EComPort(QStringLiteral("SetCommState function failed"), EINVAL,
                       QStringLiteral("1.5 stop bits are not available on Linux serial ports"));
    }
    settings_ = settings;
    applySettings(QStringLiteral("SetCommState function failed"));
}

void QtSerialDriver::applySettings(const QString &operationText) {
    using S = LineSettings;
    static const QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                   QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                   QSerialPort::SpaceParity};
    static const QSerialPort::FlowControl flows[] = {
        QSerialPort::NoFlowControl, QSerialPort::HardwareControl, QSerialPort::SoftwareControl};
    const bool ok =
        port_.setBaudRate(settings_.baudRate) &&
        port_.setDataBits(QSerialPort::DataBits(qBound(5, settings_.dataBits, 8))) &&
        port_.setStopBits(settings_.stopBits == S::StopBits::Two ? QSerialPort::TwoStop
                                                                 : QSerialPort::OneStop) &&
        port_.setParity(parities[int(settings_.parity)]) &&
        port_.setFlowControl(flows[int(settings_.flow)]);
    if (!ok && port_.isOpen())
        fail(operationText);
    port_.clearError();
}

void QtSerialDriver::clear(bool input, bool output) {
    if (!port_.isOpen())
        return;
    QSerialPort::Directions dirs;
    if (input)
        dirs |= QSerialPort::Input;
    if (output)
        dirs |= QSerialPort::Output;
    if (dirs && !port_.clear(dirs))
        fail(QStringLiteral("PurgeComm function failed"));
    if (input) {
        port_.readAll();
        received_.clear();
    }
}

void QtSerialDriver::write(const QByteArray &data) {
    // A command line goes straight into the terminal's output queue while QSerialPort holds
    // nothing unwritten: its own buffer would switch the write notifier on and off around
    // every line. What the line does not take at once, and any failure, goes the buffered way,
    // which reports it as before.
    if (port_.bytesToWrite() == 0) {
        const ssize_t written = ::write(port_.handle(), data.constData(), size_t(data.size()));
        if (written == data.size())
            return;
        if (written > 0) {
            writeBuffered(data.mid(written));
            return;
        }
    }
    writeBuffered(data);
}

void QtSerialDriver::writeBuffered(const QByteArray &data) {
    if (port_.write(data) != data.size())
        fail(QStringLiteral("WriteFile function failed"));
    // Write time-outs of the original: 100 ms per character plus 1000 ms.
    QDeadlineTimer deadline(1000 + 100 * data.size());
    while (port_.bytesToWrite() > 0) {
        if (deadline.hasExpired() ||
            !port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            fail(QStringLiteral("WriteFile function failed"));
    }
}

QByteArray QtSerialDriver::read(int maxCount) {
    takeArrivedBytes();
    QByteArray out = received_.left(maxCount);
    received_.remove(0, out.size());
    return out;
}

bool QtSerialDriver::waitForByte(char terminator, int timeoutMs, const WhileWaiting &whileWaiting) {
    QDeadlineTimer deadline(timeoutMs);
    QDeadlineTimer handOver(kWaitSliceMs);
    for (;;) {
        takeArrivedBytes();
        if (received_.contains(terminator))
            return true;
        if (deadline.hasExpired())
            return false;
        if (whileWaiting && handOver.hasExpired()) {
            if (whileWaiting() || !port_.isOpen())
                return false;
            handOver.setRemainingTime(kWaitSliceMs);
            continue;
        }
        const qint64 left = whileWaiting ? qMin(deadline.remainingTime(), handOver.remainingTime())
                                         : deadline.remainingTime();
        // waitForReadyRead returns after the first chunk: loop until the terminator is in.
        if (!port_.waitForReadyRead(static_cast<int>(qMax<qint64>(0, left)))) {
            const auto error = port_.error();
            if (error != QSerialPort::TimeoutError && error != QSerialPort::NoError)
                fail(QStringLiteral("WaitForEvent method failed"));
            port_.clearError();
        }
    }
}

void QtSerialDriver::setDtr(bool on) {
    if (!port_.setDataTerminalReady(on) && !lacksModemLines(port_.error()))
        fail(QStringLiteral("EscapeCommFunction function failed"));
    port_.clearError();
}

void QtSerialDriver::setRts(bool on) {
    if (!port_.setRequestToSend(on) && !lacksModemLines(port_.error()))
        fail(QStringLiteral("EscapeCommFunction function failed"));
    port_.clearError();
}

void QtSerialDriver::takeArrivedBytes() {
    if (!port_.isOpen())
        return;
    received_ += port_.readAll();
    if (received_.size() > kInputBufferSize)
        received_.remove(0, received_.size() - kInputBufferSize);
}

void QtSerialDriver::fail(const QString &operationText) {
    const auto error = port_.error();
    QString reason = port_.errorString();
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) {
        // QSerialPort keeps the text of an earlier failure here (often the modem-line ioctl of
        // a pseudo-terminal); a failing read means the line went away.
        reason = QStringLiteral("the device closed the line or was unplugged");
    } else if (error == QSerialPort::PermissionError) {
        reason += QStringLiteral(". The port is busy, locked, or your user may not use it: join "
                                 "the group 'dialout' (sudo usermod -aG dialout $USER) and log "
                                 "in again.");
    }
    const int code = errnoFor(error);
    port_.clearError();
    if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && port_.isOpen())
        port_.close();
    throw EComPort(operationText, code, reason);
}

#include "link/PortProbe.h"

#include "link/NetSerialDriver.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSerialPort>
#include <QTimer>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

const QString kNoPermission =
    QStringLiteral("no permission: join the group 'dialout' (sudo usermod -aG dialout $USER) and "
                   "log in again");

// One port under probe: the queries go out one after the other as the replies come in.
struct Probe {
    PortProbeResult result;
    std::unique_ptr<QSerialPort> port;
    QByteArray received;
    int step = 0; // 0: address asked, 1: range asked, 2: done
};

void applyLine(QSerialPort &port, const LineSettings &line) {
    static const QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                   QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                   QSerialPort::SpaceParity};
    static const QSerialPort::FlowControl flows[] = {
        QSerialPort::NoFlowControl, QSerialPort::HardwareControl, QSerialPort::SoftwareControl};
    port.setBaudRate(line.baudRate);
    port.setDataBits(QSerialPort::DataBits(qBound(5, line.dataBits, 8)));
    port.setStopBits(line.stopBits == LineSettings::StopBits::Two ? QSerialPort::TwoStop
                                                                  : QSerialPort::OneStop);
    port.setParity(parities[int(line.parity)]);
    port.setFlowControl(flows[int(line.flow)]);
}

// Opens the port of `probe`, or says why not; true when the query can go out.
bool openForProbe(Probe &probe, const LineSettings &line) {
    const QString &device = probe.result.device;
    if (NetSerialDriver::isNetworkAddress(device)) {
        probe.result.reason = QStringLiteral("device server address: not searched");
        return false;
    }
    if (!QFileInfo::exists(device)) {
        probe.result.reason = QStringLiteral("not present");
        return false;
    }
    const QByteArray path = QFile::encodeName(device);
    if (::access(path.constData(), R_OK | W_OK) != 0) {
        probe.result.reason = kNoPermission;
        return false;
    }
    probe.port = std::make_unique<QSerialPort>();
    probe.port->setPortName(device);
    applyLine(*probe.port, line);
    if (!probe.port->open(QIODevice::ReadWrite)) {
        const auto error = probe.port->error();
        // May be used, yet not opened: the lock file or the exclusive open of another program.
        probe.result.reason =
            error == QSerialPort::PermissionError || error == QSerialPort::OpenError
                ? QStringLiteral("in use by another program")
                : probe.port->errorString();
        probe.port.reset();
        return false;
    }
    // The device expects the modem lines inactive, as the tool's own open leaves them.
    probe.port->setDataTerminalReady(false);
    probe.port->setRequestToSend(false);
    probe.port->clear();
    probe.port->clearError();
    return true;
}

// Takes a complete reply line; false when the probe of this port is over.
void takeReply(Probe &probe, const QByteArray &line) {
    const QString reply = QString::fromLatin1(line).trimmed();
    if (probe.step == 0) {
        if (!reply.startsWith(QLatin1String("DeviceAdr"))) {
            probe.result.reason = QStringLiteral("answered, but not as a ZEL 40 / ZEL 80: \"%1\"")
                                      .arg(reply.left(40));
            probe.step = 2;
            return;
        }
        probe.result.answered = true;
        probe.result.address = reply.mid(9).trimmed();
        probe.port->write("?MeasRange\r");
        probe.step = 1;
        return;
    }
    if (reply.startsWith(QLatin1String("MeasRange"))) {
        bool ok = false;
        const int range = reply.mid(9).trimmed().toInt(&ok);
        if (ok && (range == 0 || range == 1))
            probe.result.range = range;
    }
    probe.step = 2;
}

} // namespace

QString PortProbeResult::rangeText() const {
    if (range == 0)
        return QStringLiteral("+/- 250 Pa");
    if (range == 1)
        return QStringLiteral("+/- 100 Pa");
    return QStringLiteral("unknown");
}

QList<PortProbeResult> PortProbe::run(const QStringList &devices, const LineSettings &line,
                                      int timeoutMs) {
    // The time-out counts from the start: opening many ports takes its share of it, so the
    // whole search stays within one time-out plus the wire time.
    const QDeadlineTimer deadline(timeoutMs);
    std::vector<Probe> probes(size_t(devices.size()));
    QEventLoop loop;
    int waiting = 0;
    const auto finishOne = [&] {
        if (--waiting == 0)
            loop.quit();
    };
    for (size_t i = 0; i < probes.size(); ++i) {
        Probe &probe = probes[i];
        probe.result.device = devices.at(int(i));
        if (!openForProbe(probe, line)) {
            probe.step = 2;
            continue;
        }
        ++waiting;
        QObject::connect(probe.port.get(), &QSerialPort::readyRead, &loop, [&probe, &finishOne] {
            probe.received += probe.port->readAll();
            int end;
            while (probe.step < 2 && (end = probe.received.indexOf('\r')) >= 0) {
                const QByteArray reply = probe.received.left(end);
                probe.received.remove(0, end + 1);
                takeReply(probe, reply);
                if (probe.step == 2)
                    finishOne();
            }
            // A port that sends without end is not a device answering a query.
            if (probe.step < 2 && probe.received.size() > 256) {
                probe.result.reason = QStringLiteral("answered, but not as a ZEL 40 / ZEL 80");
                probe.step = 2;
                finishOne();
            }
        });
        QObject::connect(probe.port.get(), &QSerialPort::errorOccurred, &loop,
                         [&probe, &finishOne](QSerialPort::SerialPortError error) {
                             if (probe.step == 2 || (error != QSerialPort::ReadError &&
                                                     error != QSerialPort::ResourceError))
                                 return;
                             if (!probe.result.answered)
                                 probe.result.reason = QStringLiteral("the line failed");
                             probe.step = 2;
                             finishOne();
                         });
        probe.port->write("?DeviceAdr\r");
    }
    if (waiting > 0) {
        // The port asked last still gets the time a device needs to answer.
        const qint64 left = qMax<qint64>(deadline.remainingTime(), kMinimumAnswerMs);
        QTimer::singleShot(int(left), &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    QList<PortProbeResult> results;
    for (Probe &probe : probes) {
        if (probe.step < 2 && !probe.result.answered)
            probe.result.reason = QStringLiteral("no answer");
        if (probe.port) {
            probe.port->disconnect();
            probe.port->close();
        }
        results.append(probe.result);
    }
    return results;
}

QMap<QString, PortProbeResult> PortProbe::search(const QStringList &names, const LineSettings &line,
                                                 int timeoutMs) {
    QStringList distinct;
    QMap<QString, QString> deviceOf;
    for (const QString &name : names) {
        const QString canonical = QFileInfo(name).canonicalFilePath();
        const QString device = canonical.isEmpty() ? name : canonical;
        deviceOf.insert(name, device);
        if (!distinct.contains(device))
            distinct.append(device);
    }
    QMap<QString, PortProbeResult> byDevice;
    for (const PortProbeResult &result : run(distinct, line, timeoutMs))
        byDevice.insert(result.device, result);
    QMap<QString, PortProbeResult> byName;
    for (auto it = deviceOf.begin(); it != deviceOf.end(); ++it) {
        PortProbeResult result = byDevice.value(it.value());
        result.device = it.key();
        byName.insert(it.key(), result);
    }
    return byName;
}

#include "link/TComPort.h"

#include "link/EComPort.h"
#include "link/NetSerialDriver.h"
#include "link/QtSerialDriver.h"
#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

TComPort::TComPort(std::unique_ptr<SerialDriver> driver)
    : driver_(driver ? std::move(driver) : std::make_unique<QtSerialDriver>()),
      active_(driver_.get()) {}

TComPort::~TComPort() {
    try {
        close();
    } catch (...) {
        // Closing on destruction must not throw.
    }
}

QString TComPort::normalizeName(const QString &name) {
    QString rest = name;
    if (rest.left(3).compare(QLatin1String("COM"), Qt::CaseInsensitive) == 0)
        rest = rest.mid(3);
    bool ok = false;
    int number = rest.trimmed().toInt(&ok);
    if (!ok || number <= 0 || number > 16)
        number = 1;
    return QStringLiteral("COM%1").arg(number);
}

QString TComPort::defaultDevice(const QString &comName) {
    const int number = normalizeName(comName).mid(3).toInt();
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
}

void TComPort::setPort(const QString &name) {
    const QString normalized = normalizeName(name);
    const bool reopen = connected() && normalized != name_;
    if (reopen)
        close();
    name_ = normalized;
    if (reopen)
        open();
}

void TComPort::setBindings(const QMap<QString, QString> &bindings) {
    bindings_.clear();
    for (auto it = bindings.begin(); it != bindings.end(); ++it) {
        if (!it.value().trimmed().isEmpty())
            bindings_.insert(normalizeName(it.key()), it.value().trimmed());
    }
}

QString TComPort::devicePath() const {
    return bindings_.value(name_, defaultDevice(name_));
}

void TComPort::setLineSettings(const LineSettings &settings) {
    active_->setLineSettings(settings);
    settings_ = settings;
}

void TComPort::setBaudRate(int baud) {
    LineSettings settings = settings_;
    settings.baudRate = baud;
    setLineSettings(settings);
}

void TComPort::open(const SerialDriver::WhileWaiting &whileWaiting) {
    if (active_->isOpen())
        return;
    const QString device = devicePath();
    // The device path chooses the driver: a device server's address or a local device.
    if (NetSerialDriver::isNetworkAddress(device)) {
        if (!netDriver_)
            netDriver_ = std::make_unique<NetSerialDriver>();
        active_ = netDriver_.get();
    } else {
        active_ = driver_.get();
    }
    active_->setLineSettings(settings_);
    try {
        active_->openWaiting(device, whileWaiting);
    } catch (const EComPort &failure) {
        // Which port was tried is the first thing to check when it cannot be opened.
        throw failure.at(name_ + QStringLiteral(" → ") + device);
    }
}

void TComPort::close() {
    active_->close();
}

bool TComPort::connected() const {
    return active_->isOpen();
}

void TComPort::clearBuffer(bool input, bool output) {
    active_->clear(input, output);
}

void TComPort::writeStr(const QString &text) {
    active_->write(text.toLatin1());
}

QString TComPort::readStr(int maxCount) {
    return QString::fromLatin1(active_->read(maxCount));
}

bool TComPort::waitForEventChar(int timeoutMs, const SerialDriver::WhileWaiting &whileWaiting) {
    return active_->waitForByte(eventChar_, timeoutMs, whileWaiting);
}

void TComPort::setDTR(bool on) {
    active_->setDtr(on);
}

void TComPort::setRTS(bool on) {
    active_->setRts(on);
}

QList<QPair<QString, QString>> TComPort::presentDevices() {
    QList<QPair<QString, QString>> devices;
    QMap<QString, QString> described;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        QString text = info.description();
        if (!info.serialNumber().isEmpty())
            text += QStringLiteral(", serial ") + info.serialNumber();
        described.insert(info.systemLocation(), text);
    }
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &link : byId.entryInfoList(QDir::Files | QDir::System)) {
        const QString target = link.canonicalFilePath();
        devices.append({link.absoluteFilePath(), described.value(target, target)});
    }
    for (auto it = described.begin(); it != described.end(); ++it)
        devices.append({it.key(), it.value()});
    return devices;
}

#include "link/ui/TComSetupFrm.h"

#include "link/NetSerialDriver.h"
#include "link/TComPort.h"
#include "link/ui/PortSearchPanel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TComSetupFrm::TComSetupFrm(TComPort &port, QWidget *parent)
    : QDialog(parent), port_(port), deviceSource_(&TComPort::presentDevices) {
    setObjectName(QStringLiteral("TComSetupFrm"));
    setWindowTitle(QStringLiteral("Setup"));
    auto *group = new QGroupBox(QStringLiteral(" Settings "), this);
    form_ = new QFormLayout(group);
    portList_ = addList(QStringLiteral("Port"), QStringLiteral("ComboPort"), {});
    deviceList_ = addList(QStringLiteral("Device"), QStringLiteral("ComboDevice"), {});
    deviceList_->setEditable(true);
    deviceList_->setToolTip(QStringLiteral("The Linux device used for this COM name, or a "
                                           "serial device server: tcp://HOST:PORT or "
                                           "rfc2217://HOST:PORT"));
    connect(portList_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { showDeviceOfPort(); });
    baudList_ =
        addList(QStringLiteral("Baud rate"), QStringLiteral("ComboBaudRate"), baudRateItems());
    dataBitsList_ =
        addList(QStringLiteral("Data bits"), QStringLiteral("ComboDataBits"), {"5", "6", "7", "8"});
    stopBitsList_ =
        addList(QStringLiteral("Stop bits"), QStringLiteral("ComboStopBits"), {"1", "1.5", "2"});
    parityList_ = addList(QStringLiteral("Parity"), QStringLiteral("ComboParity"),
                          {"None", "Odd", "Even", "Mark", "Space"});
    flowList_ = addList(QStringLiteral("Flow control"), QStringLiteral("ComboFlowControl"),
                        {"Hardware", "Software", "None", "Custom"});

    // Made before the buttons, so the tab order follows the layout.
    auto *search = new PortSearchPanel([this] { return searchedPorts(); },
                                       [this] { return chosenLineSettings(); }, this);
    connect(search, &PortSearchPanel::deviceChosen, this,
            [this](const QString &device) { chooseDevice(device); });

    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("ButtonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(search);
    layout->addWidget(buttons);
    loadFromPort();
    // A light poll rather than udev events: it needs nothing beyond Qt and costs a directory
    // listing a second.
    auto *hotPlug = new QTimer(this);
    connect(hotPlug, &QTimer::timeout, this, &TComSetupFrm::refreshDevices);
    hotPlug->start(kHotPlugPollMs);
}

QStringList TComSetupFrm::baudRateItems() {
    return {"Custom", "110",   "300",   "600",   "1200",  "2400",   "4800",   "9600",
            "14400",  "19200", "38400", "56000", "57600", "115200", "128000", "256000"};
}

QComboBox *TComSetupFrm::addList(const QString &caption, const QString &objectName,
                                 const QStringList &items) {
    auto *list = new QComboBox(this);
    list->setObjectName(objectName);
    list->addItems(items);
    form_->addRow(caption, list);
    return list;
}

void TComSetupFrm::loadFromPort() {
    portList_->blockSignals(true);
    portList_->clear();
    for (int n = 1; n <= 16; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        portList_->addItem(portItemText(name), name);
    }
    portList_->setCurrentIndex(portList_->findData(port_.port()));
    portList_->blockSignals(false);
    fillDevices(deviceSource_());
    showDeviceOfPort();
    // Each list shows the port's current value; a baud rate not in the list shows "Custom".
    const LineSettings &line = port_.lineSettings();
    baudList_->setCurrentIndex(qMax(0, baudList_->findText(QString::number(line.baudRate))));
    dataBitsList_->setCurrentText(QString::number(line.dataBits));
    stopBitsList_->setCurrentIndex(int(line.stopBits));
    parityList_->setCurrentIndex(int(line.parity));
    flowList_->setCurrentIndex(flowItem(line.flow));
}

// The items are "Hardware", "Software", "None", "Custom".
int TComSetupFrm::flowItem(LineSettings::Flow flow) {
    switch (flow) {
    case LineSettings::Flow::Hardware:
        return 0;
    case LineSettings::Flow::Software:
        return 1;
    case LineSettings::Flow::None:
        break;
    }
    return 2;
}

void TComSetupFrm::showDeviceOfPort() {
    const QString name = portList_->currentData().toString();
    chooseDevice(port_.bindings().value(name, TComPort::defaultDevice(name)));
}

QString TComSetupFrm::chosenDevice() const {
    const int index = deviceList_->findText(deviceList_->currentText());
    const QString device =
        index >= 0 ? deviceList_->itemData(index).toString() : deviceList_->currentText().trimmed();
    return device;
}

void TComSetupFrm::applyToPort() {
    const QString name = portList_->currentData().toString();
    const QString device = chosenDevice();
    if (!name.isEmpty() && !device.isEmpty() && device != TComPort::defaultDevice(name)) {
        QMap<QString, QString> bindings = port_.bindings();
        bindings.insert(name, device);
        port_.setBindings(bindings);
    }
    if (!name.isEmpty())
        port_.setPort(name);
    port_.setLineSettings(chosenLineSettings());
}

// "Custom" keeps the port's baud rate or flow control as it is.
LineSettings TComSetupFrm::chosenLineSettings() const {
    LineSettings line = port_.lineSettings();
    bool ok = false;
    const int baud = baudList_->currentText().toInt(&ok);
    if (ok)
        line.baudRate = baud;
    line.dataBits = dataBitsList_->currentText().toInt();
    line.stopBits = LineSettings::StopBits(stopBitsList_->currentIndex());
    line.parity = LineSettings::Parity(parityList_->currentIndex());
    static const LineSettings::Flow flows[] = {
        LineSettings::Flow::Hardware, LineSettings::Flow::Software, LineSettings::Flow::None};
    if (flowList_->currentIndex() >= 0 && flowList_->currentIndex() < 3)
        line.flow = flows[flowList_->currentIndex()];
    return line;
}

QString TComSetupFrm::portItemText(const QString &name) const {
    const QString device = port_.bindings().value(name, TComPort::defaultDevice(name));
    QString shown = name + QStringLiteral("  ") + device;
    if (NetSerialDriver::isNetworkAddress(device))
        shown += QStringLiteral("  (device server)");
    else if (!QFileInfo::exists(device))
        shown += QStringLiteral("  (not present)");
    return shown;
}

void TComSetupFrm::fillDevices(const QList<QPair<QString, QString>> &devices) {
    shownDevices_ = devices;
    deviceList_->blockSignals(true);
    deviceList_->clear();
    for (const auto &device : devices) {
        const QString shown = device.second.isEmpty() ? device.first
                                                      : device.first + QStringLiteral("  (") +
                                                            device.second + QLatin1Char(')');
        deviceList_->addItem(shown, device.first);
    }
    deviceList_->blockSignals(false);
}

void TComSetupFrm::setDeviceSource(DeviceSource source) {
    deviceSource_ = std::move(source);
    refreshDevices();
}

void TComSetupFrm::refreshDevices() {
    const auto devices = deviceSource_();
    if (devices == shownDevices_)
        return;
    // The user's choice, also one typed or one that was just unplugged, stays as it is.
    const QString chosen = chosenDevice();
    fillDevices(devices);
    chooseDevice(chosen);
    for (int i = 0; i < portList_->count(); ++i)
        portList_->setItemText(i, portItemText(portList_->itemData(i).toString()));
}

void TComSetupFrm::chooseDevice(const QString &device) {
    const int index = deviceList_->findData(device);
    if (index >= 0)
        deviceList_->setCurrentIndex(index);
    else
        deviceList_->setEditText(device);
}

QStringList TComSetupFrm::searchedPorts() const {
    QStringList ports;
    for (int n = 1; n <= 16; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        const QString device = port_.bindings().value(name, TComPort::defaultDevice(name));
        if (QFileInfo::exists(device))
            ports.append(device);
    }
    for (const auto &device : shownDevices_)
        ports.append(device.first);
    ports.removeDuplicates();
    return ports;
}

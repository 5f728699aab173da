#include "link/TComSetupFrm.h"

#include "link/TComPort.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

TComSetupFrm::TComSetupFrm(TComPort &port, QWidget *parent) : QDialog(parent), port_(port)
{
    setObjectName(QStringLiteral("TComSetupFrm"));
    setWindowTitle(QStringLiteral("Setup"));
    auto *group = new QGroupBox(QStringLiteral(" Settings "), this);
    form_ = new QFormLayout(group);
    portList_ = addList(QStringLiteral("Port"), QStringLiteral("ComboPort"), {});
    baudList_ = addList(QStringLiteral("Baud rate"), QStringLiteral("ComboBaudRate"), baudRateItems());
    dataBitsList_ = addList(QStringLiteral("Data bits"), QStringLiteral("ComboDataBits"),
                            {"5", "6", "7", "8"});
    stopBitsList_ = addList(QStringLiteral("Stop bits"), QStringLiteral("ComboStopBits"),
                            {"1", "1.5", "2"});
    parityList_ = addList(QStringLiteral("Parity"), QStringLiteral("ComboParity"),
                          {"None", "Odd", "Even", "Mark", "Space"});
    flowList_ = addList(QStringLiteral("Flow control"), QStringLiteral("ComboFlowControl"),
                        {"Hardware", "Software", "None", "Custom"});

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
    layout->addWidget(buttons);
    loadFromPort();
}

QStringList TComSetupFrm::baudRateItems()
{
    return {"Custom", "110",   "300",   "600",    "1200",   "2400",   "4800",  "9600",
            "14400",  "19200", "38400", "56000", "57600", "115200", "128000", "256000"};
}

QComboBox *TComSetupFrm::addList(const QString &caption, const QString &objectName,
                                 const QStringList &items)
{
    auto *list = new QComboBox(this);
    list->setObjectName(objectName);
    list->addItems(items);
    form_->addRow(caption, list);
    return list;
}

void TComSetupFrm::loadFromPort()
{
    portList_->clear();
    QMap<QString, QString> present;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        present.insert(info.systemLocation(), info.description());
    for (int n = 1; n <= 16; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        const QString device = port_.bindings().value(name, TComPort::defaultDevice(name));
        QString shown = name + QStringLiteral("  ") + device;
        if (present.contains(device) && !present.value(device).isEmpty())
            shown += QStringLiteral("  (") + present.value(device) + QLatin1Char(')');
        else if (!QFileInfo::exists(device))
            shown += QStringLiteral("  (not present)");
        portList_->addItem(shown, name);
    }
    portList_->setCurrentIndex(portList_->findData(port_.port()));
    baudList_->setCurrentIndex(qMax(0, baudList_->findText(QString::number(port_.baudRate()))));
    dataBitsList_->setCurrentText(QStringLiteral("8"));
    stopBitsList_->setCurrentText(QStringLiteral("1"));
    parityList_->setCurrentText(QStringLiteral("None"));
    flowList_->setCurrentText(QStringLiteral("None"));
}

void TComSetupFrm::applyToPort()
{
    const QString name = portList_->currentData().toString();
    if (!name.isEmpty())
        port_.setPort(name);
    bool ok = false;
    const int baud = baudList_->currentText().toInt(&ok);
    if (ok)
        port_.setBaudRate(baud);
}

#pragma once

// link/ui/: the port setup dialog and its device search panel, on link/'s drivers and probe.

#include "link/SerialDriver.h"

#include <QDialog>
#include <QList>
#include <QPair>
#include <functional>

class QComboBox;
class TComPort;

// The port setup dialog: six lists bound to the port; OK applies all choices at once.
class TComSetupFrm : public QDialog {
    Q_OBJECT
public:
    explicit TComSetupFrm(TComPort &port, QWidget *parent = nullptr);

    // Refills the lists from the port's current settings and the present devices.
    void loadFromPort();
    // Applies the six choices to the port together (called on OK).
    void applyToPort();
    LineSettings chosenLineSettings() const;

    static QStringList baudRateItems();
    // Where the present devices come from (default: TComPort::presentDevices); the list is
    // read again every kHotPlugPollMs while the dialog is open.
    using DeviceSource = std::function<QList<QPair<QString, QString>>()>;
    void setDeviceSource(DeviceSource source);
    static constexpr int kHotPlugPollMs = 1000;
    // Follows adapters plugged in and out, keeping the user's choice.
    void refreshDevices();
    // The device the chosen COM name is bound to after OK.
    QString chosenDevice() const;

private:
    static int flowItem(LineSettings::Flow flow);
    QComboBox *addList(const QString &caption, const QString &objectName, const QStringList &items);

    TComPort &port_;
    void showDeviceOfPort();
    QString portItemText(const QString &name) const;
    void fillDevices(const QList<QPair<QString, QString>> &devices);
    // Every COM name's device and every present device: what the port search asks.
    QStringList searchedPorts() const;
    void chooseDevice(const QString &device);

    DeviceSource deviceSource_;
    QList<QPair<QString, QString>> shownDevices_;

    QComboBox *portList_ = nullptr;
    QComboBox *deviceList_ = nullptr;
    QComboBox *baudList_ = nullptr;
    QComboBox *dataBitsList_ = nullptr;
    QComboBox *stopBitsList_ = nullptr;
    QComboBox *parityList_ = nullptr;
    QComboBox *flowList_ = nullptr;
    class QFormLayout *form_ = nullptr;
};

#pragma once

#include "link/SerialDriver.h"

#include <QDialog>

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
    // The device the chosen COM name is bound to after OK.
    QString chosenDevice() const;

private:
    static int flowItem(LineSettings::Flow flow);
    QComboBox *addList(const QString &caption, const QString &objectName, const QStringList &items);

    TComPort &port_;
    void showDeviceOfPort();

    QComboBox *portList_ = nullptr;
    QComboBox *deviceList_ = nullptr;
    QComboBox *baudList_ = nullptr;
    QComboBox *dataBitsList_ = nullptr;
    QComboBox *stopBitsList_ = nullptr;
    QComboBox *parityList_ = nullptr;
    QComboBox *flowList_ = nullptr;
    class QFormLayout *form_ = nullptr;
};

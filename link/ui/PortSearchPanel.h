#pragma once

#include "link/SerialDriver.h"

#include <QWidget>
#include <functional>

class QListWidget;
class QPushButton;

// The port search of the setup dialog: "Search" asks every port it is given for a device and
// lists what each one said; one click on a device that answered chooses it.
class PortSearchPanel : public QWidget {
    Q_OBJECT
public:
    // The ports to ask and the line settings to ask them at, taken when "Search" is clicked.
    PortSearchPanel(std::function<QStringList()> ports, std::function<LineSettings()> line,
                    QWidget *parent = nullptr);

    void search();

signals:
    // A device that answered was clicked.
    void deviceChosen(const QString &device);

private:
    std::function<QStringList()> ports_;
    std::function<LineSettings()> line_;
    QPushButton *button_ = nullptr;
    QListWidget *results_ = nullptr;
};

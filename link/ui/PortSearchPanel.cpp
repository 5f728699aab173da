#include "link/ui/PortSearchPanel.h"

#include "link/PortProbe.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

PortSearchPanel::PortSearchPanel(std::function<QStringList()> ports,
                                 std::function<LineSettings()> line, QWidget *parent)
    : QWidget(parent), ports_(std::move(ports)), line_(std::move(line)) {
    button_ = new QPushButton(QStringLiteral("Search"), this);
    button_->setObjectName(QStringLiteral("ButtonSearch"));
    button_->setToolTip(QStringLiteral("Ask every port whether a ZEL 40 / ZEL 80 answers"));
    button_->setAutoDefault(false);
    results_ = new QListWidget(this);
    results_->setObjectName(QStringLiteral("ListSearch"));
    results_->setToolTip(QStringLiteral("Click a device that answered to use it for the port"));
    results_->hide();
    auto *row = new QHBoxLayout;
    row->addWidget(button_);
    row->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addWidget(results_);
    connect(button_, &QPushButton::clicked, this, &PortSearchPanel::search);
    connect(results_, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const QString device = item->data(Qt::UserRole).toString();
        if (!device.isEmpty())
            emit deviceChosen(device);
    });
}

void PortSearchPanel::search() {
    button_->setEnabled(false);
    QStringList ports = ports_();
    ports.removeDuplicates();
    const auto found = PortProbe::search(ports, line_());
    results_->clear();
    // Devices that answered first, each once: a by-id name and its device are one port.
    QStringList answeredDevices;
    for (const QString &port : ports) {
        const PortProbeResult result = found.value(port);
        auto *item = new QListWidgetItem;
        if (result.answered) {
            item->setText(QStringLiteral("%1  ZEL 40 / ZEL 80, address %2, range %3")
                              .arg(port, result.address, result.rangeText()));
            item->setData(Qt::UserRole, port);
            results_->insertItem(answeredDevices.size(), item);
            answeredDevices.append(port);
        } else {
            item->setText(port + QStringLiteral("  (") + result.reason + QLatin1Char(')'));
            item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
            results_->addItem(item);
        }
    }
    if (results_->count() == 0)
        results_->addItem(QStringLiteral("No serial ports"));
    results_->show();
    button_->setEnabled(true);
}

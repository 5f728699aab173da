#include "calib/ui/CalibDialog.h"

#include "calib/CalibLock.h"
#include "calib/CalibReplies.h"
#include "link/OperationRunner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

CalibDialog::CalibDialog(QWidget *parent, OperationRunner &runner, GuardedRun guarded,
                         const QString &objectName, const QString &caption)
    : QDialog(parent), runner_(runner), guarded_(std::move(guarded)) {
    setObjectName(objectName);
    setWindowTitle(caption);
    Statusanzeige = new QLabel(this);
    Statusanzeige->setObjectName(QStringLiteral("Statusanzeige"));
    Statusanzeige->setWordWrap(true);
    Statusanzeige->setFixedSize(360, 110);
    ButtonCalibOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonCalibOK->setObjectName(QStringLiteral("ButtonCalibOK"));
    ButtonCalibAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    ButtonCalibAbbrechen->setObjectName(QStringLiteral("ButtonCalibAbbrechen"));
    auto *buttons = new QHBoxLayout();
    buttons->addWidget(ButtonCalibOK);
    buttons->addWidget(ButtonCalibAbbrechen);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Statusanzeige);
    layout->addLayout(buttons);

    connect(ButtonCalibOK, &QPushButton::clicked, this,
            [this] { runStep(&CalibDialog::ButtonCalibOKClick); });
    connect(ButtonCalibAbbrechen, &QPushButton::clicked, this,
            [this] { runStep(&CalibDialog::ButtonCalibAbbrechenClick); });
}

void CalibDialog::runStep(void (CalibDialog::*step)()) {
    guarded_([this, step] { (this->*step)(); });
}

void CalibDialog::reject() {
    if (commandOnWire_ || !mayClose())
        return;
    QDialog::reject();
}

void CalibDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // A dialog restored by the desktop keeps its state; only a new opening resets it.
    if (!event->spontaneous())
        Kalibrierfenster_Initialisieren();
}

QString CalibDialog::msg(CatalogueEntry entry) const {
    return runner_.message(entry);
}

void CalibDialog::showText(const QString &catalogueText) {
    Statusanzeige->setText(CalibReplies::withLineBreaks(catalogueText));
}

void CalibDialog::showProgress(CatalogueEntry entry) {
    runner_.setStatus(msg(entry));
    showText(msg(entry));
}

QString CalibDialog::send(const QString &command) {
    // A failure earlier in the dialog made the global handler close the port; the operator
    // must still be able to finish with the device.
    if (!runner_.portOpen())
        CalibLock(runner_).openPort();
    // The modal dialog leaves no abort control within reach: resends on "Err" are bounded.
    // While the command is on the wire the dialog cannot be closed under it.
    commandOnWire_ = true;
    const struct Clear {
        bool &flag;
        ~Clear() { flag = false; }
    } clear{commandOnWire_};
    return runner_.sendUnabortable(command);
}

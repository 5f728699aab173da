#pragma once

// calib/ui/: the re-calibration dialogs and their common frame.

#include "base/ui/Controls.h"
#include "i18n/CatalogueEntry.h"

#include <QDialog>

class OperationRunner;
class QLabel;
class QPushButton;
class QShowEvent;

// What the two re-calibration dialogs share: the word-wrapping status label, the OK and cancel
// buttons, texts from the catalogue in the current language, a reset on every
// activation, and button handlers that hand failures to the window's global handler so the
// dialog stays open and usable. Every way of closing (Escape, the title bar's close button, the
// dialog's own buttons) goes through reject(): it is refused while a command is on the wire,
// and a dialog whose procedure still holds the device first ends it.
class CalibDialog : public QDialog {
    Q_OBJECT
public:
    // Puts the dialog in its opening state; runs each time the dialog is shown.
    virtual void Kalibrierfenster_Initialisieren() = 0;
    virtual void ButtonCalibOKClick() = 0;
    virtual void ButtonCalibAbbrechenClick() = 0;

    void reject() override;

protected:
    CalibDialog(QWidget *parent, OperationRunner &runner, GuardedRun guarded,
                const QString &objectName, const QString &caption);

    void showEvent(QShowEvent *event) override;
    // Runs a step of the procedure as a button does: failures go to the global handler.
    void runStep(void (CalibDialog::*step)());
    // Whether the dialog may close now. A dialog whose device is still in the procedure ends
    // it here and refuses this close, so its outcome stays readable.
    virtual bool mayClose() { return true; }
    QString msg(CatalogueEntry entry) const;
    void showText(const QString &catalogueText);
    // The status bar and the label both tell what the device is doing.
    void showProgress(CatalogueEntry entry);
    QString send(const QString &command);

    OperationRunner &runner_;
    GuardedRun guarded_;
    QLabel *Statusanzeige = nullptr;
    QPushButton *ButtonCalibOK = nullptr;
    QPushButton *ButtonCalibAbbrechen = nullptr;

private:
    bool commandOnWire_ = false;
};

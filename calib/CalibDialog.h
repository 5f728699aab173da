#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QShowEvent;
class TformMain;

// What the two re-calibration dialogs share: the word-wrapping status label, the OK and cancel
// buttons, texts from the window's catalogue in the current language, a reset on every
// activation, and button handlers that hand failures to the window's global handler so the
// dialog stays open and usable.
class CalibDialog : public QDialog {
    Q_OBJECT
public:
    // Puts the dialog in its opening state; runs each time the dialog is shown.
    virtual void Kalibrierfenster_Initialisieren() = 0;
    virtual void ButtonCalibOKClick() = 0;
    virtual void ButtonCalibAbbrechenClick() = 0;

protected:
    CalibDialog(TformMain &window, const QString &objectName, const QString &caption);

    void showEvent(QShowEvent *event) override;
    QString msg(int entry) const;
    void showText(const QString &catalogueText);
    // The status bar and the label both tell what the device is doing.
    void showProgress(int entry);
    QString send(const QString &command);

    TformMain &window_;
    QLabel *Statusanzeige = nullptr;
    QPushButton *ButtonCalibOK = nullptr;
    QPushButton *ButtonCalibAbbrechen = nullptr;
};

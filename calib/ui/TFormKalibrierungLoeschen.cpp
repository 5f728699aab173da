#include "calib/ui/TFormKalibrierungLoeschen.h"

#include "calib/CalibReplies.h"

#include <QPushButton>

namespace {
constexpr int kClose = 99;
constexpr int kCancel = 116;
constexpr int kCaption = 124;
constexpr int kQuestion = 125;
constexpr int kRunning = 129;
} // namespace

TFormKalibrierungLoeschen::TFormKalibrierungLoeschen(QWidget *parent, OperationRunner &runner,
                                                     GuardedRun guarded)
    : CalibDialog(parent, runner, std::move(guarded), QStringLiteral("FormKalibrierungLoeschen"),
                  QStringLiteral("Kalibr. löschen")) {}

void TFormKalibrierungLoeschen::Kalibrierfenster_Initialisieren() {
    setWindowTitle(msg(kCaption));
    showText(msg(kQuestion));
    ButtonCalibAbbrechen->setText(msg(kCancel));
    ButtonCalibOK->setEnabled(true);
}

void TFormKalibrierungLoeschen::ButtonCalibOKClick() {
    showProgress(kRunning);
    showText(msg(CalibReplies::recallCalib(send(QStringLiteral("RecallCalib")))));
    // From now on the second button only closes the dialog.
    ButtonCalibAbbrechen->setText(msg(kClose));
    ButtonCalibOK->setEnabled(false);
}

void TFormKalibrierungLoeschen::ButtonCalibAbbrechenClick() {
    close();
}

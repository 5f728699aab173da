#include "calib/ui/TFormKalibrierungLoeschen.h"

#include "calib/CalibReplies.h"

#include <QPushButton>

TFormKalibrierungLoeschen::TFormKalibrierungLoeschen(QWidget *parent, OperationRunner &runner,
                                                     GuardedRun guarded)
    : CalibDialog(parent, runner, std::move(guarded), QStringLiteral("FormKalibrierungLoeschen"),
                  QStringLiteral("Kalibr. löschen")) {}

void TFormKalibrierungLoeschen::Kalibrierfenster_Initialisieren() {
    setWindowTitle(msg(CatalogueEntry::UndoRecalibration));
    showText(msg(CatalogueEntry::ResetRecalibrationQuestion));
    ButtonCalibAbbrechen->setText(msg(CatalogueEntry::Cancel));
    ButtonCalibOK->setEnabled(true);
}

void TFormKalibrierungLoeschen::ButtonCalibOKClick() {
    showProgress(CatalogueEntry::RecalibrationResetRunning);
    showText(msg(CalibReplies::recallCalib(send(QStringLiteral("RecallCalib")))));
    // From now on the second button only closes the dialog.
    ButtonCalibAbbrechen->setText(msg(CatalogueEntry::Close));
    ButtonCalibOK->setEnabled(false);
}

void TFormKalibrierungLoeschen::ButtonCalibAbbrechenClick() {
    close();
}

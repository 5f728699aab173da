#pragma once

#include "calib/ui/CalibDialog.h"

// The dialog that confirms and performs the deletion of the re-calibration values.
class TFormKalibrierungLoeschen : public CalibDialog {
    Q_OBJECT
public:
    TFormKalibrierungLoeschen(QWidget *parent, OperationRunner &runner, GuardedRun guarded);

    void Kalibrierfenster_Initialisieren() override;
    void ButtonCalibOKClick() override;
    void ButtonCalibAbbrechenClick() override;
};

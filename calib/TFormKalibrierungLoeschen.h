#pragma once

#include "calib/CalibDialog.h"

class TformMain;

// The dialog that confirms and performs the deletion of the re-calibration values.
class TFormKalibrierungLoeschen : public CalibDialog {
    Q_OBJECT
public:
    explicit TFormKalibrierungLoeschen(TformMain &window);

    void Kalibrierfenster_Initialisieren() override;
    void ButtonCalibOKClick() override;
    void ButtonCalibAbbrechenClick() override;
};

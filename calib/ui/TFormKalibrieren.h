#pragma once

#include "calib/ui/CalibDialog.h"

struct SharedState;

// The guided re-calibration dialog: the pressure request, the device's answer, the request to
// remove the hoses and the result, stepped through with OK. The direction and the range come
// from the shared state when the dialog opens.
class TFormKalibrieren : public CalibDialog {
    Q_OBJECT
public:
    TFormKalibrieren(QWidget *parent, OperationRunner &runner, const SharedState &state,
                     GuardedRun guarded);

    void Kalibrierfenster_Initialisieren() override;
    void ButtonCalibOKClick() override;
    void ButtonCalibAbbrechenClick() override;

protected:
    bool mayClose() override;

private:
    void confirmPressure();
    void finishRecalibration();
    void showResult(CatalogueEntry entry, CatalogueEntry followUp);

    const SharedState &state_;
    int step_ = 0; // 0 pressure applied?, 1 hoses removed?, 2 result shown
    bool success_ = false;
    bool cancelled_ = false;
};

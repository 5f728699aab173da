#pragma once

#include <QDialog>

class TformMain;

// The guided re-calibration dialog: the pressure request, the device's answer, the request to
// remove the hoses and the result, stepped through with OK.
class TFormKalibrieren : public QDialog {
    Q_OBJECT
public:
    explicit TFormKalibrieren(TformMain &window);

private:
    TformMain &window_;
};

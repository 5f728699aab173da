#pragma once

#include <QDialog>

class TformMain;

// The dialog that confirms and performs the deletion of the re-calibration values.
class TFormKalibrierungLoeschen : public QDialog {
    Q_OBJECT
public:
    explicit TFormKalibrierungLoeschen(TformMain &window);

private:
    TformMain &window_;
};

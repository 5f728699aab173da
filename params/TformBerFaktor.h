#pragma once

#include <QDialog>

class TformMain;

// The unit-conversion dialog "Unit -> Pa": a value, its unit, and "Paste", which converts the
// value to Pa and hands it back through the window's unit-conversion result.
class TformBerFaktor : public QDialog {
    Q_OBJECT
public:
    explicit TformBerFaktor(TformMain &window);

private:
    TformMain &window_;
};

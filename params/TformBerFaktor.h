#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class TformMain;

// The unit-conversion dialog "Unit -> Pa": a value, its unit, and "Paste", which converts the
// value to Pa and hands it back through the window's unit-conversion result. Created once and
// reused, so it shows the value and unit of its last use.
class TformBerFaktor : public QDialog {
    Q_OBJECT
public:
    explicit TformBerFaktor(TformMain &window);

    // Converts when the unit is known and closes; an unknown unit does nothing. A value that
    // is no number throws the conversion error and the dialog stays open.
    void ButtonBerechnClick();
    // However the dialog closed: without a result the result becomes "Err".
    void FormClose();

private:
    TformMain &window_;
    QLineEdit *EDruck = nullptr;
    QComboBox *UnitD = nullptr;
};

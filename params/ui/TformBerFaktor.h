#pragma once

#include "base/ui/Controls.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
struct SharedState;

// The unit-conversion dialog "Unit -> Pa": a value, its unit, and "Paste", which converts the
// value to Pa and hands it back through the shared unit-conversion result. Created once and
// reused, so it shows the value and unit of its last use.
class TformBerFaktor : public QDialog {
    Q_OBJECT
public:
    TformBerFaktor(QWidget *parent, SharedState &state, GuardedRun guarded);

    // Converts when the unit is known and closes; an unknown unit does nothing. A value that
    // is no number throws the conversion error and the dialog stays open.
    void ButtonBerechnClick();
    // However the dialog closed: without a result the result becomes "Err".
    void FormClose();

private:
    SharedState &state_;
    GuardedRun guarded_;
    QLineEdit *EDruck = nullptr;
    QComboBox *UnitD = nullptr;
};

#pragma once

#include "app/Controls.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
struct GpibSettings;
struct SharedState;

// The instrument settings dialog: two GPIB addresses, seven channel lists of the
// data-acquisition unit, and two switches of the teach run that are not stored.
class TformOptions : public QDialog {
    Q_OBJECT
public:
    // `toolSettingsDir`: where the instrument settings are stored.
    TformOptions(QWidget *parent, SharedState &state, const QString &toolSettingsDir,
                 GuardedRun guarded);

    // Copies the window's instrument settings into the edits.
    void FormCreate();
    void ButtonSaveClick();
    void ButtonAbortClick();

    // Reads the nine stored instrument settings ("IEEE", "Agilent"); missing keys read empty.
    static void readStored(const QString &toolSettingsDir, GpibSettings &settings);

    bool zelSimulation() const;
    bool daWerteStattZelWerte() const;

private:
    QLineEdit *edit(const char *name) const;

    SharedState &state_;
    QString toolSettingsDir_;
    GuardedRun guarded_;
};

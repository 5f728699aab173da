#pragma once

#include "base/SharedState.h"
#include "base/ui/Controls.h"
#include "teach/InstrumentBackend.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

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

    bool zelSimulation() const;
    bool daWerteStattZelWerte() const;

    // The instrument bus: the stored choice, shown again by FormCreate().
    void ButtonBenchCheckClick();
    // What the bench check button runs: the window checks the bus and addresses the dialog
    // shows (saved or not) on its runner.
    using BenchCheckHandler =
        std::function<void(const InstrumentBackend::Selection &, const GpibSettings &)>;
    void setBenchCheck(BenchCheckHandler handler) { benchCheck_ = std::move(handler); }
    // The bus and addresses as the dialog shows them.
    InstrumentBackend::Selection shownSelection() const;
    GpibSettings shownAddresses() const;

private:
    QLineEdit *edit(const char *name) const;
    QComboBox *busCombo() const;
    class QGroupBox *buildBusGroup();
    void showStoredBus();
    void saveBus(class IniFile &file) const;

    SharedState &state_;
    QString toolSettingsDir_;
    GuardedRun guarded_;
    BenchCheckHandler benchCheck_;
};

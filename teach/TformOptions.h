#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class TformMain;
struct GpibSettings;

// The instrument settings dialog: two GPIB addresses, seven channel lists of the
// data-acquisition unit, and two switches of the teach run that are not stored.
class TformOptions : public QDialog {
    Q_OBJECT
public:
    explicit TformOptions(TformMain &window);

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

    TformMain &window_;
};

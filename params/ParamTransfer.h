#pragma once

#include "params/ParamTable.h"

#include <QString>

class QComboBox;
class TformMain;

// Loading all settings from the device into the settings pages, sending them back, and the
// factory settings, walking the parameter table. Works on the window's controls, which are
// the only copy of the settings. Catches nothing: failures end the action where it stands and
// reach the window's exception handler.
class ParamTransfer {
public:
    explicit ParamTransfer(TformMain &window) : w_(window) {}

    void loadClick();                // ButtonLadenClick
    void loadAll();                  // AlleParameterLaden
    void sendClick();                // ButtonSendenClick
    void sendAll();                  // AlleParameterSenden
    void factorySettings(int range); // ButtonWE100PaClick (1), ButtonWE250PaClick (0)
    void extPressChanged();          // ExtPressChanged

private:
    // Refusal while measuring, abort flag, lock, progress, marker, port. False when refused.
    bool begin(int progressMaximum);
    void applyReply(const ParamDef &row, const QString &reply);
    void applyChoice(const ParamDef &row, int value);
    QString setCommandFor(const ParamDef &row) const;
    void refuseUnsafeValues();
    void noteReply(const ParamDef &row, const QString &reply);
    void end(int statusEntry);
    void focusRefusedField(int marker);
    void rebuildUnitList(int input, int mode, bool selectFirst);
    static void select(QComboBox *combo, int index);

    TformMain &w_;
};

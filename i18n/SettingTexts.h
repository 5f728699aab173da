#pragma once

#include "params/ParamTable.h"

#include <QString>
#include <QStringList>
#include <vector>

// The texts the window shows for the settings, without a widget: the catalogue captions of the
// controls, a setting's name as a user reads it, and the items of its list. The window and the
// command line use the same texts.
class SettingTexts {
public:
    // The controls whose caption is a catalogue text (groups, captions, buttons).
    static std::vector<QString> captionedControls();
    // The caption of one of them in a language.
    static QString controlCaption(const QString &control, int language);
    // A setting as the pages name it: its group's caption, then its own caption ("" parts
    // left out): "Skalierung Druck: unten [Pa]".
    static QString settingCaption(const ParamDef &row, int language);
    // The items of a choice list as the window shows them; the unit lists of the inputs as
    // built for `unitListMode`.
    static QStringList items(const ParamDef &row, int unitListMode, int language);
    // The item a list shows at row `choice`; "" without selection.
    static QString shownItem(const ParamDef &row, int unitListMode, int choice, int language);
    // The unit list items of an input (1 or 2) for an external-pressure mode.
    static QStringList inputUnitItems(int input, int extPressMode, int language);
};

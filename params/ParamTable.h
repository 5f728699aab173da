#pragma once

#include <QString>
#include <QStringList>
#include <vector>

enum class ParamKind { Decimal, Choice, Password, Address };

// One device setting: its device name (command word and file key), the control that shows it,
// where that control sits, and how transfers treat it.
struct ParamDef {
    const char *name;    // device name, case matters on the wire
    const char *control; // objectName of the control
    ParamKind kind;
    int checkNumber;          // send check number recorded on refusal, 0 if none
    const char *sheet;        // objectName of the tab page
    const char *groupBox;     // objectName of the group box
    const char *label;        // objectName of the caption label, "" if none
    const char *labelCaption; // designed German caption of that label
    bool pressureField;       // takes a pressure in Pa and offers the unit-conversion dialog
    const char *fileSection;  // section in configuration files, "" when not stored
};

// Where a group box sits on its settings page: grid row and column, and the columns it spans.
struct GroupPlace {
    int row = 0;
    int column = 0;
    int columnSpan = 1;
};

// The 50 device settings in the order of every transfer and of the configuration file.
class ParamTable {
public:
    static const std::vector<ParamDef> &rows();
    // The rows as pointers, in table order.
    static std::vector<const ParamDef *> all();
    static const ParamDef *find(const QString &name);
    // Designed German caption of a group box on the settings pages.
    static QString groupBoxCaption(const QString &groupBox);
    // Where a group box sits on its page.
    static GroupPlace groupPlace(const QString &groupBox);
    // Designed items of a choice control (before the catalogue texts replace them).
    static QStringList designItems(const QString &control);
    // Page index in the page control of a settings tab page.
    static int pageIndex(const QString &sheet);
};

#pragma once

#include "base/FileFault.h"
#include "params/ParamTable.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class IniFile;
class SettingsModel;

// The device settings of a configuration file, by device name: the edit texts of the decimal
// settings and the password as they stand, and the values of the choice settings as the file
// stores them (the unit lists of IN-1 and IN-2 already mapped to device values; -1 for a list
// without selection).
struct ConfigValues {
    QHash<QString, QString> texts;
    QHash<QString, int> choices;
};

// Configuration files (".zel"): the 49 writable settings in INI form, one section per group,
// keys named after the settings, in the order of the parameter table. Plain file logic; the
// window copies the values to and from its controls.
class ConfigFile {
public:
    static const QString Filter;          // for the file dialogs
    static const QString DefaultSaveName; // proposed by the save dialog

    // The settings a file stores, in file order (every row but the device address).
    static std::vector<const ParamDef *> rows();
    // The ten sections, in file order.
    static QStringList sections();
    static bool isText(const ParamDef &row) { return row.kind != ParamKind::Choice; }

    // True when the file holds at least one of the ten sections.
    static bool holdsConfiguration(const IniFile &ini);
    // Writes every key in file order; a missing text is written empty, a missing choice as -1.
    static void write(IniFile &ini, const ConfigValues &values);
    // Reads every key: a missing text gives "", a missing or invalid integer 0.
    static ConfigValues read(const IniFile &ini);

    // The values of the settings a file stores, as the model holds them.
    static ConfigValues fromModel(const SettingsModel &model);
    // Puts the values into the model in file order; `applied` runs after each setting.
    static void applyTo(SettingsModel &model, const ConfigValues &values,
                        const std::function<void(const ParamDef &)> &applied = {});

    struct LoadResult {
        ConfigValues values;
        QString error;   // names the file; empty when loaded
        FileFault fault; // what error says, for a front end that words it otherwise
        bool ok() const { return error.isEmpty(); }
    };
    // A file that is missing, unreadable or holds none of the sections gives an error.
    static LoadResult load(const QString &path);
    // Adds the sections to the file, keeping everything else in it, and replaces it atomically.
    // Throws EFileFault "nach <path> kann nicht geschrieben werden"; a file that is no text
    // file (or cannot be read) is refused and left as it is.
    static void save(const QString &path, const ConfigValues &values);
};

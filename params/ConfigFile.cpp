#include "params/ConfigFile.h"

#include "base/IniFile.h"
#include "params/SettingsModel.h"

const QString ConfigFile::Filter = QStringLiteral("ZEL Data Files (*.zel)|*.ZEL;*.zel");
const QString ConfigFile::DefaultSaveName = QStringLiteral("Config1.zel");

namespace {

QString section(const ParamDef &row) {
    return QString::fromLatin1(row.fileSection);
}
QString key(const ParamDef &row) {
    return QString::fromLatin1(row.name);
}

// A line break in a value would end the key's line and start a new one in the file.
QString singleLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

std::vector<const ParamDef *> ConfigFile::rows() {
    std::vector<const ParamDef *> stored;
    for (const ParamDef &row : ParamTable::rows()) {
        if (*row.fileSection != '\0')
            stored.push_back(&row);
    }
    return stored;
}

QStringList ConfigFile::sections() {
    QStringList names;
    for (const ParamDef *row : rows()) {
        if (!names.contains(section(*row)))
            names.append(section(*row));
    }
    return names;
}

bool ConfigFile::holdsConfiguration(const IniFile &ini) {
    for (const QString &name : sections()) {
        if (ini.hasSection(name))
            return true;
    }
    return false;
}

void ConfigFile::write(IniFile &ini, const ConfigValues &values) {
    for (const ParamDef *row : rows()) {
        const QString name = key(*row);
        const QString value = isText(*row) ? singleLine(values.texts.value(name))
                                           : QString::number(values.choices.value(name, -1));
        ini.writeString(section(*row), name, value);
    }
}

ConfigValues ConfigFile::read(const IniFile &ini) {
    ConfigValues values;
    for (const ParamDef *row : rows()) {
        const QString name = key(*row);
        if (isText(*row))
            values.texts.insert(name, ini.readString(section(*row), name));
        else
            values.choices.insert(name, ini.readInteger(section(*row), name, 0));
    }
    return values;
}

ConfigFile::LoadResult ConfigFile::load(const QString &path) {
    LoadResult result;
    IniFile ini(path);
    const IniFile::LoadResult loaded = ini.load();
    if (loaded.status != IniFile::LoadResult::Status::Loaded)
        result.fault = loaded.fault;
    else if (!holdsConfiguration(ini))
        result.fault =
            FileFault::found(FileFault::Problem::NoConfiguration, path, FileFault::Cause::System);
    else
        result.values = read(ini);
    result.error = result.fault.windowText();
    return result;
}

void ConfigFile::save(const QString &path, const ConfigValues &values) {
    IniFile ini(path);
    // A file that exists but cannot be read makes save() refuse, so it is never replaced by
    // our sections alone.
    ini.load();
    write(ini, values);
    ini.save();
}

ConfigValues ConfigFile::fromModel(const SettingsModel &model) {
    ConfigValues values;
    for (const ParamDef *row : rows()) {
        if (isText(*row))
            values.texts.insert(key(*row), model.text(*row));
        else
            values.choices.insert(key(*row), model.deviceChoice(*row));
    }
    return values;
}

void ConfigFile::applyTo(SettingsModel &model, const ConfigValues &values,
                         const std::function<void(const ParamDef &)> &applied) {
    for (const ParamDef *row : rows()) {
        const QString name = key(*row);
        if (isText(*row)) {
            model.setText(*row, values.texts.value(name));
        } else {
            model.setDeviceChoice(*row, values.choices.value(name));
            // The unit lists take the items of the mode now selected.
            if (name == QLatin1String("ExtPress"))
                model.rebuildUnitLists(model.choice(*row));
        }
        if (applied)
            applied(*row);
    }
}

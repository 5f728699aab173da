#include "base/ToolSettings.h"

#include "base/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kMisc = QStringLiteral("Miscellaneous");
}

ToolSettings::ToolSettings(const QString &executableDir) : path_(resolvePath(executableDir)) {}

QString ToolSettings::resolvePath(const QString &executableDir) {
    const QString beside = QDir(executableDir).filePath(QString::fromLatin1(kFileName));
    const QFileInfo dirInfo(executableDir);
    if (QFileInfo::exists(beside) || (dirInfo.isDir() && dirInfo.isWritable()))
        return beside;
    const QString configRoot =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(configRoot).filePath(QStringLiteral("zeltool/") + QString::fromLatin1(kFileName));
}

int ToolSettings::language() const {
    IniFile ini(path_);
    ini.load();
    const int language = ini.readInteger(kMisc, QStringLiteral("ToolLanguage"), 0);
    return (language >= 0 && language <= 2) ? language : 0;
}

QString ToolSettings::comPort() const {
    IniFile ini(path_);
    ini.load();
    return ini.readString(kMisc, QStringLiteral("ComPort"), QStringLiteral("COM1"));
}

QMap<QString, QString> ToolSettings::portBindings() const {
    IniFile ini(path_);
    ini.load();
    QMap<QString, QString> bindings;
    for (int n = 1; n <= 16; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        const QString device = ini.readString(QStringLiteral("Ports"), name);
        if (!device.isEmpty())
            bindings.insert(name, device);
    }
    return bindings;
}

QString ToolSettings::readString(const QString &section, const QString &key) const {
    IniFile ini(path_);
    ini.load();
    return ini.readString(section, key);
}

void ToolSettings::writeLanguage(int language) const {
    writeString(kMisc, QStringLiteral("ToolLanguage"), QString::number(language));
}

void ToolSettings::writeComPort(const QString &name) const {
    writeString(kMisc, QStringLiteral("ComPort"), name);
}

void ToolSettings::writeString(const QString &section, const QString &key,
                               const QString &value) const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    IniFile::writeValue(path_, section, key, value);
}

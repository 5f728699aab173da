#pragma once

#include <QMap>
#include <QString>

// The tool settings file "ZEL ToolConfig.ini": beside the executable when that file exists or
// the folder is writable (a portable install), else in $XDG_CONFIG_HOME/zeltool/ for a tool
// installed into a read-only folder. Opened, read or written and closed at each use.
class ToolSettings {
public:
    static constexpr const char *kFileName = "ZEL ToolConfig.ini";

    explicit ToolSettings(const QString &executableDir);

    const QString &path() const { return path_; }

    // Language index 0..2; anything else stored reads as German.
    int language() const;
    QString comPort() const;
    // COM names bound to devices in section "Ports".
    QMap<QString, QString> portBindings() const;
    QString readString(const QString &section, const QString &key) const;

    // Each write throws EFileError when the file cannot be written.
    void writeLanguage(int language) const;
    void writeComPort(const QString &name) const;
    void writeString(const QString &section, const QString &key, const QString &value) const;

    static QString resolvePath(const QString &executableDir);

private:
    QString path_;
};

#include "teach/TeachValueFile.h"

#include "base/IniFile.h"

#include <algorithm>

const QString TeachValueFile::Filter = QStringLiteral("ZEL Data Files (*.zel)|*.ZEL;*.zel");
const QString TeachValueFile::DefaultSaveName = QStringLiteral("Teachwerte1.zel");

namespace {

// The sections a teach-value file is made of, in file order.
QStringList sections() {
    QStringList names;
    for (const TeachValueRow *row : TeachValueTable::storedRows()) {
        const QString section = QString::fromLatin1(row->fileSection);
        if (!names.contains(section))
            names << section;
    }
    return names;
}

QString quotedList(const QStringList &names) {
    QStringList quoted;
    for (const QString &name : names)
        quoted << QLatin1Char('"') + name + QLatin1Char('"');
    return quoted.join(QStringLiteral(", "));
}

} // namespace

TeachValueFile::ReadResult TeachValueFile::read(const QString &path) {
    ReadResult result;
    IniFile ini(path);
    const IniFile::LoadResult loaded = ini.load();
    if (loaded.status != IniFile::LoadResult::Status::Loaded) {
        result.fault = loaded.fault;
        result.error = loaded.message;
        return result;
    }
    const QStringList names = sections();
    const bool holdsTeachValues = std::any_of(
        names.cbegin(), names.cend(), [&ini](const QString &s) { return ini.hasSection(s); });
    if (!holdsTeachValues) {
        result.fault.problem = FileFault::Problem::NoTeachValues;
        result.fault.path = path;
        result.fault.detail = quotedList(names);
        result.error = result.fault.windowText();
        return result;
    }
    for (const TeachValueRow *row : TeachValueTable::storedRows()) {
        result.entries.append({row, ini.readString(QString::fromLatin1(row->fileSection),
                                                   QString::fromLatin1(row->valueLabel))});
    }
    return result;
}

void TeachValueFile::write(const QString &path,
                           const std::function<QString(const TeachValueRow &)> &captionOf) {
    IniFile ini(path);
    // An unreadable file makes save() refuse, so it is never replaced by a partial one.
    ini.load();
    for (const TeachValueRow *row : TeachValueTable::storedRows()) {
        ini.writeString(QString::fromLatin1(row->fileSection), QString::fromLatin1(row->valueLabel),
                        captionOf(*row));
    }
    ini.save();
}

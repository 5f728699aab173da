#include "base/FileFault.h"

#include "base/IniFile.h"
#include "i18n/MessageCatalogue.h"

#include <optional>

namespace {

constexpr qint64 kMiB = 1024 * 1024;

// The text of a cause the tool found itself; none for a reason the system gave.
std::optional<CatalogueEntry> causeEntry(FileFault::Cause cause) {
    switch (cause) {
    case FileFault::Cause::Folder:
        return CatalogueEntry::ReasonFolder;
    case FileFault::Cause::NotRegular:
        return CatalogueEntry::ReasonNotRegular;
    case FileFault::Cause::NotText:
        return CatalogueEntry::ReasonNotText;
    case FileFault::Cause::BrokenUtf16:
        return CatalogueEntry::ReasonBrokenUtf16;
    case FileFault::Cause::Unencodable:
        return CatalogueEntry::ReasonUnencodable;
    case FileFault::Cause::TooLarge:
        return CatalogueEntry::ReasonTooLarge;
    case FileFault::Cause::System:
        break;
    }
    return std::nullopt;
}

} // namespace

FileFault FileFault::system(Problem problem, const QString &path, const QString &reason) {
    FileFault fault;
    fault.problem = problem;
    fault.path = path;
    fault.systemReason = reason;
    return fault;
}

FileFault FileFault::found(Problem problem, const QString &path, Cause cause) {
    FileFault fault;
    fault.problem = problem;
    fault.path = path;
    fault.cause = cause;
    return fault;
}

QString FileFault::reason(int language) const {
    const std::optional<CatalogueEntry> entry = causeEntry(cause);
    if (!entry)
        return systemReason;
    const QString text = MessageCatalogue::text(*entry, language);
    return cause == Cause::TooLarge ? text.arg(IniFile::MaxFileSize / kMiB) : text;
}

QString FileFault::windowText() const {
    switch (problem) {
    case Problem::Missing:
        return QStringLiteral("%1 ist nicht vorhanden").arg(path);
    case Problem::TooLarge:
        return QStringLiteral("%1 ist zu groß (mehr als %2 MiB)")
            .arg(path, QString::number(IniFile::MaxFileSize / kMiB));
    case Problem::CannotRead:
        return QStringLiteral("%1 kann nicht gelesen werden (%2)").arg(path, reason(0));
    case Problem::NoConfiguration:
        return QStringLiteral("%1 enthält keine Konfigurationsdaten").arg(path);
    case Problem::NoTeachValues:
        return QStringLiteral("%1 enthält keine Teachwerte (keinen der Abschnitte %2)")
            .arg(path, detail);
    case Problem::CannotWrite:
        return QStringLiteral("nach %1 kann nicht geschrieben werden").arg(path);
    case Problem::CannotCreate:
        return QStringLiteral("Datei %1 kann nicht erstellt werden (%2)").arg(path, reason(0));
    case Problem::None:
        break;
    }
    return QString();
}

QString FileFault::text(int language) const {
    const auto entry = [language](CatalogueEntry which) {
        return MessageCatalogue::text(which, language);
    };
    switch (problem) {
    case Problem::Missing:
        return entry(CatalogueEntry::FileMissing).arg(path);
    case Problem::TooLarge:
        return entry(CatalogueEntry::FileTooLarge)
            .arg(path, QString::number(IniFile::MaxFileSize / kMiB));
    case Problem::CannotRead:
        return entry(CatalogueEntry::FileCannotRead).arg(path, reason(language));
    case Problem::NoConfiguration:
        return entry(CatalogueEntry::FileNoConfiguration).arg(path);
    case Problem::NoTeachValues:
        return entry(CatalogueEntry::FileNoTeachValues).arg(path, detail);
    case Problem::CannotWrite:
        return entry(CatalogueEntry::FileCannotWrite).arg(path, reason(language));
    case Problem::CannotCreate:
        return entry(CatalogueEntry::FileCannotCreate).arg(path, reason(language));
    case Problem::None:
        break;
    }
    return QString();
}

#include "base/FileFault.h"

#include "base/IniFile.h"
#include "i18n/MessageCatalogue.h"

namespace {

constexpr qint64 kMiB = 1024 * 1024;

int causeEntry(FileFault::Cause cause) {
    switch (cause) {
    case FileFault::Cause::Folder:
        return MessageCatalogue::kReasonFolder;
    case FileFault::Cause::NotRegular:
        return MessageCatalogue::kReasonNotRegular;
    case FileFault::Cause::NotText:
        return MessageCatalogue::kReasonNotText;
    case FileFault::Cause::BrokenUtf16:
        return MessageCatalogue::kReasonBrokenUtf16;
    case FileFault::Cause::Unencodable:
        return MessageCatalogue::kReasonUnencodable;
    case FileFault::Cause::TooLarge:
        return MessageCatalogue::kReasonTooLarge;
    case FileFault::Cause::System:
        break;
    }
    return -1;
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
    if (cause == Cause::System)
        return systemReason;
    const QString text = MessageCatalogue::text(causeEntry(cause), language);
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
    const auto entry = [language](int number) { return MessageCatalogue::text(number, language); };
    switch (problem) {
    case Problem::Missing:
        return entry(MessageCatalogue::kFileMissing).arg(path);
    case Problem::TooLarge:
        return entry(MessageCatalogue::kFileTooLarge)
            .arg(path, QString::number(IniFile::MaxFileSize / kMiB));
    case Problem::CannotRead:
        return entry(MessageCatalogue::kFileCannotRead).arg(path, reason(language));
    case Problem::NoConfiguration:
        return entry(MessageCatalogue::kFileNoConfiguration).arg(path);
    case Problem::NoTeachValues:
        return entry(MessageCatalogue::kFileNoTeachValues).arg(path, detail);
    case Problem::CannotWrite:
        return entry(MessageCatalogue::kFileCannotWrite).arg(path, reason(language));
    case Problem::CannotCreate:
        return entry(MessageCatalogue::kFileCannotCreate).arg(path, reason(language));
    case Problem::None:
        break;
    }
    return QString();
}

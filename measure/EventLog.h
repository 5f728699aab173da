#pragma once

#include <QString>
#include <QStringList>

class QDateTime;
class QLocale;

// The lines of the measurement's event log and the file they are saved to.
class EventLog {
public:
    // Date in the locale's short date format, "; ", time in its long time format (without
    // the time zone), then "; " and each display text: "08.12.26; 15:44:13; 12,3 Pa".
    static QString line(const QDateTime &when, const QLocale &locale, const QStringList &texts);

    // The locale's long time format with its time-zone fields and the blanks before them
    // taken out: the log shows local wall-clock time only.
    static QString timeFormatWithoutZone(const QLocale &locale);

    // Writes the lines, each ended by CR LF, in UTF-8. The file is replaced atomically: when
    // the write fails an earlier file of that name stays as it was. Throws EFileError.
    static void save(const QString &path, const QStringList &lines);
};

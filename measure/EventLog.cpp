#include "measure/EventLog.h"

#include "base/SavedFile.h"

#include <QDateTime>
#include <QLocale>

namespace {

const QString kSeparator = QStringLiteral("; ");

void dropTrailingBlanks(QString &text) {
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
}

} // namespace

QString EventLog::line(const QDateTime &when, const QLocale &locale, const QStringList &texts) {
    QString text = locale.toString(when.date(), QLocale::ShortFormat) + kSeparator +
                   locale.toString(when.time(), timeFormatWithoutZone(locale));
    for (const QString &field : texts)
        text += kSeparator + field;
    return text;
}

QString EventLog::timeFormatWithoutZone(const QLocale &locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            result += c;
        } else if (!quoted && c == QLatin1Char('t')) {
            while (i + 1 < format.size() && format[i + 1] == QLatin1Char('t'))
                ++i;
            dropTrailingBlanks(result);
        } else if (!quoted && c.isSpace() && result.isEmpty()) {
            continue; // a zone at the front leaves its blank behind
        } else {
            result += c;
        }
    }
    dropTrailingBlanks(result);
    return result;
}

void EventLog::save(const QString &path, const QStringList &lines) {
    QByteArray content;
    for (const QString &line : lines)
        content += (line + QStringLiteral("\r\n")).toUtf8();
    saveFileAtomically(path, content);
}

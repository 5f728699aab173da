#include "app/IniFile.h"

#include "app/Errors.h"
#include "app/NumberText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned bytes map to the C1 control of the same
// number (as Windows does), so every byte survives a load and a save.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QByteArray Utf8Bom("\xEF\xBB\xBF");

QString decodeCp1252(const QByteArray &bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text[i] = (b >= 0x80 && b < 0xA0) ? QChar(Cp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

char encodeCp1252(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (int i = 0; i < 32; ++i) {
        if (Cp1252High[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return '?'; // not representable, as the Windows conversion does
}

QByteArray encodeCp1252(const QString &text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (int i = 0; i < text.size(); ++i)
        bytes[i] = encodeCp1252(text[i]);
    return bytes;
}

// Null string when the bytes are not valid UTF-8.
QString decodeUtf8Strict(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QString();
    return text.isNull() ? QString(QLatin1String("")) : text;
}

bool isBlank(const QString &text) {
    return text.trimmed().isEmpty();
}

// "[name]" with optional blanks around; the name runs to the last "]".
bool parseSection(const QString &line, QString *name) {
    // Cheap test first: lookups scan every line of the file.
    qsizetype first = 0;
    while (first < line.size() && line[first].isSpace())
        ++first;
    if (first == line.size() || line[first] != QLatin1Char('['))
        return false;
    const QString t = line.trimmed();
    const int close = t.lastIndexOf(QLatin1Char(']'));
    if (close < 1)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

// "key=value"; *valueStart is the index just after "=" and its following blanks.
bool parseKey(const QString &line, QString *key, int *valueStart) {
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    const QString k = line.left(eq).trimmed();
    if (k.isEmpty() || k.startsWith(QLatin1Char(';')) || k.startsWith(QLatin1Char('[')))
        return false;
    *key = k;
    int start = eq + 1;
    while (start < line.size() && (line[start] == QLatin1Char(' ') || line[start] == '\t'))
        ++start;
    *valueStart = start;
    return true;
}

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

IniFile::LoadResult IniFile::load() {
    lines_.clear();
    newline_ = QStringLiteral("\r\n");
    windows1252_ = false;
    utf8Bom_ = false;
    loadFailed_ = false;

    LoadResult result;
    const QFileInfo info(path_);
    if (!info.exists()) {
        result.status = LoadResult::Status::Missing;
        result.message = QStringLiteral("%1 ist nicht vorhanden").arg(path_);
        return result;
    }
    auto fail = [&](LoadResult::Status status, const QString &message) {
        loadFailed_ = true;
        result.status = status;
        result.message = message;
        return result;
    };
    const QString tooLarge = QStringLiteral("%1 ist zu groß (mehr als %2 MiB)")
                                 .arg(path_)
                                 .arg(MaxFileSize / (1024 * 1024));
    if (info.size() > MaxFileSize)
        return fail(LoadResult::Status::TooLarge, tooLarge);

    QFile file(path_);
    // Only a regular file is opened: opening a named pipe would wait for a writer for ever.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        const QString reason = info.isDir()     ? QStringLiteral("Ordner")
                               : !info.isFile() ? QStringLiteral("keine gewöhnliche Datei")
                                                : file.errorString();
        return fail(LoadResult::Status::Unreadable,
                    QStringLiteral("%1 kann nicht gelesen werden (%2)").arg(path_, reason));
    }
    // Read past the limit: a special file may report size 0 and never end. In pieces, as
    // read(MaxFileSize + 1) would allocate the whole limit for every small file.
    QByteArray bytes;
    for (QByteArray piece; bytes.size() <= MaxFileSize && !(piece = file.read(65536)).isEmpty();)
        bytes += piece;
    if (file.error() != QFileDevice::NoError) {
        return fail(
            LoadResult::Status::Unreadable,
            QStringLiteral("%1 kann nicht gelesen werden (%2)").arg(path_, file.errorString()));
    }
    if (bytes.size() > MaxFileSize)
        return fail(LoadResult::Status::TooLarge, tooLarge);

    utf8Bom_ = bytes.startsWith(Utf8Bom);
    QString text = decodeUtf8Strict(utf8Bom_ ? bytes.mid(Utf8Bom.size()) : bytes);
    if (text.isNull()) {
        utf8Bom_ = false;
        windows1252_ = true;
        text = decodeCp1252(bytes);
    }
    splitLines(text);
    return result;
}

void IniFile::splitLines(const QString &text) {
    bool styleSeen = false;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype lf = text.indexOf(QLatin1Char('\n'), start);
        if (lf < 0) {
            lines_.append(Line{text.mid(start), QString()});
            break;
        }
        const bool crlf = lf > start && text[lf - 1] == QLatin1Char('\r');
        const qsizetype end = crlf ? lf - 1 : lf;
        lines_.append(Line{text.mid(start, end - start),
                           crlf ? QStringLiteral("\r\n") : QStringLiteral("\n")});
        if (!styleSeen) {
            newline_ = lines_.last().end;
            styleSeen = true;
        }
        start = lf + 1;
    }
}

int IniFile::findSection(const QString &section) const {
    QString name;
    for (int i = 0; i < lines_.size(); ++i) {
        if (parseSection(lines_[i].text, &name) && sameName(name, section))
            return i;
    }
    return -1;
}

// Searches every section of that name, in file order, so a key in a repeated section is found.
int IniFile::findKey(const QString &section, const QString &key) const {
    bool inSection = false;
    QString name;
    int valueStart = 0;
    for (int i = 0; i < lines_.size(); ++i) {
        const QString &text = lines_[i].text;
        if (parseSection(text, &name))
            inSection = sameName(name, section);
        else if (inSection && parseKey(text, &name, &valueStart) && sameName(name, key))
            return i;
    }
    return -1;
}

// After the section's last non-blank line, so blank lines before the next section stay there.
int IniFile::insertionPoint(int sectionLine) const {
    QString name;
    int end = sectionLine + 1;
    while (end < lines_.size() && !parseSection(lines_[end].text, &name))
        ++end;
    while (end > sectionLine + 1 && isBlank(lines_[end - 1].text))
        --end;
    return end;
}

void IniFile::insertLine(int index, const QString &text) {
    if (index > 0 && lines_[index - 1].end.isEmpty())
        lines_[index - 1].end = newline_;
    lines_.insert(index, Line{text, newline_});
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const {
    const int line = findKey(section, key);
    if (line < 0)
        return defaultValue;
    QString name;
    int valueStart = 0;
    parseKey(lines_[line].text, &name, &valueStart);
    return lines_[line].text.mid(valueStart).trimmed();
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const {
    int value = 0;
    return NumberText::tryToInt(readString(section, key), &value) ? value : defaultValue;
}

bool IniFile::hasSection(const QString &section) const {
    return findSection(section) >= 0;
}

bool IniFile::hasKey(const QString &section, const QString &key) const {
    return findKey(section, key) >= 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) {
    const int line = findKey(section, key);
    if (line >= 0) {
        // Keep the key's spelling and the blanks around "=", replace only the value.
        QString name;
        int valueStart = 0;
        parseKey(lines_[line].text, &name, &valueStart);
        lines_[line].text = lines_[line].text.left(valueStart) + value;
        return;
    }
    const QString entry = key + QLatin1Char('=') + value;
    const int header = findSection(section);
    if (header >= 0) {
        insertLine(insertionPoint(header), entry);
        return;
    }
    if (!lines_.isEmpty() && !isBlank(lines_.last().text))
        insertLine(lines_.size(), QString());
    insertLine(lines_.size(), QLatin1Char('[') + section + QLatin1Char(']'));
    insertLine(lines_.size(), entry);
}

void IniFile::throwWriteError() const {
    throw EFileError(QStringLiteral("nach %1 kann nicht geschrieben werden").arg(path_));
}

void IniFile::save() const {
    if (loadFailed_)
        throwWriteError();
    QString text;
    for (const Line &line : lines_)
        text += line.text + line.end;
    const QByteArray bytes =
        windows1252_ ? encodeCp1252(text) : (utf8Bom_ ? Utf8Bom : QByteArray()) + text.toUtf8();

    // Unbuffered: a buffered write only fails in the flush inside commit(), and Qt 6.4 then
    // renames the cut temporary file over the old one (seen with a full disk).
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.commit())
        throwWriteError();
}

void IniFile::writeValue(const QString &path, const QString &section, const QString &key,
                         const QString &value) {
    IniFile ini(path);
    ini.load();
    ini.writeString(section, key, value);
    ini.save();
}

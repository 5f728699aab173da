#include "app/IniFile.h"

#include "app/Errors.h"
#include "app/NumberText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cctype>

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

// 0 when the character has no Windows-1252 byte.
char encodeCp1252(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (int i = 0; i < 32; ++i) {
        if (Cp1252High[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return 0;
}

// A null array when a character has no Windows-1252 byte: writing "?" in its place would lose
// the value while reporting success.
QByteArray encodeCp1252(const QString &text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (int i = 0; i < text.size(); ++i) {
        const char b = encodeCp1252(text[i]);
        if (b == 0 && !text[i].isNull())
            return QByteArray();
        bytes[i] = b;
    }
    return bytes;
}

const QByteArray Utf16LEBom("\xFF\xFE");
const QByteArray Utf16BEBom("\xFE\xFF");

// Null string when the bytes are not valid in the encoding. The caller has taken off the
// file's byte-order mark; a second one after it is text (U+FEFF) and must survive a save, so
// the decoder may not drop it as a mark of its own.
QString decodeStrict(QStringDecoder::Encoding encoding, const QByteArray &bytes) {
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless |
                                         QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QString();
    return text.isNull() ? QString(QLatin1String("")) : text;
}

// Null array when a character cannot be encoded (a lone surrogate).
QByteArray encodeStrict(QStringEncoder::Encoding encoding, const QString &text) {
    QStringEncoder encoder(encoding, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return QByteArray();
    return bytes.isNull() ? QByteArray("") : bytes;
}

// One pair of matching double or single quotes around a value is not part of it.
QString withoutQuotes(const QString &value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
        return value.mid(1, value.size() - 2);
    return value;
}

// "$1F", "0x1F", "-$1F": up to eight hex digits taken as a 32-bit pattern, as Delphi reads them.
bool tryHexInteger(const QString &text, int *value) {
    QString t = text.trimmed();
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative || t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    if (t.startsWith(QLatin1Char('$')))
        t.remove(0, 1);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t.remove(0, 2);
    else
        return false;
    if (t.isEmpty() || t.size() > 8)
        return false;
    for (const QChar c : t) {
        if (c.unicode() > 0x7F || !std::isxdigit(c.unicode()))
            return false;
    }
    const quint32 bits = t.toUInt(nullptr, 16);
    const auto pattern = static_cast<qint32>(bits);
    *value = negative ? static_cast<int>(0u - static_cast<quint32>(pattern)) : pattern;
    return true;
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
    encoding_ = Encoding::Utf8;
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

    QString text;
    if (!decode(bytes, &text)) {
        return fail(
            LoadResult::Status::Unreadable,
            QStringLiteral("%1 kann nicht gelesen werden (beschädigter UTF-16-Text)").arg(path_));
    }
    splitLines(text);
    return result;
}

bool IniFile::decode(const QByteArray &bytes, QString *text) {
    if (bytes.startsWith(Utf16LEBom) || bytes.startsWith(Utf16BEBom)) {
        const bool little = bytes.startsWith(Utf16LEBom);
        encoding_ = little ? Encoding::Utf16LE : Encoding::Utf16BE;
        // An odd byte count is a file cut inside a character; it could not be saved as read.
        if (bytes.size() % 2 != 0)
            return false;
        *text =
            decodeStrict(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, bytes.mid(2));
        return !text->isNull();
    }
    if (bytes.startsWith(Utf8Bom)) {
        *text = decodeStrict(QStringDecoder::Utf8, bytes.mid(Utf8Bom.size()));
        if (!text->isNull()) {
            encoding_ = Encoding::Utf8Bom;
            return true;
        }
    } else {
        *text = decodeStrict(QStringDecoder::Utf8, bytes);
        if (!text->isNull()) {
            encoding_ = Encoding::Utf8;
            return true;
        }
    }
    encoding_ = Encoding::Windows1252;
    *text = decodeCp1252(bytes);
    return true;
}

QByteArray IniFile::encode(const QString &text) const {
    switch (encoding_) {
    case Encoding::Windows1252:
        return encodeCp1252(text);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
        const bool little = encoding_ == Encoding::Utf16LE;
        const QByteArray body =
            encodeStrict(little ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE, text);
        return body.isNull() ? body : (little ? Utf16LEBom : Utf16BEBom) + body;
    }
    case Encoding::Utf8Bom:
    case Encoding::Utf8:
        break;
    }
    const QByteArray body = encodeStrict(QStringEncoder::Utf8, text);
    return body.isNull() || encoding_ == Encoding::Utf8 ? body : Utf8Bom + body;
}

// CR LF, LF and a lone CR each end a line; every line keeps its own end for the save.
void IniFile::splitLines(const QString &text) {
    bool styleSeen = false;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\n') &&
               text[end] != QLatin1Char('\r'))
            ++end;
        if (end == text.size()) {
            lines_.append(Line{text.mid(start), QString()});
            break;
        }
        const bool crlf = text[end] == QLatin1Char('\r') && end + 1 < text.size() &&
                          text[end + 1] == QLatin1Char('\n');
        const qsizetype length = crlf ? 2 : 1;
        lines_.append(Line{text.mid(start, end - start), text.mid(end, length)});
        if (!styleSeen) {
            newline_ = lines_.last().end;
            styleSeen = true;
        }
        start = end + length;
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

// Only the first section of that name counts, as with the Windows profile functions.
int IniFile::findKey(const QString &section, const QString &key) const {
    const int header = findSection(section);
    if (header < 0)
        return -1;
    QString name;
    int valueStart = 0;
    for (int i = header + 1; i < lines_.size(); ++i) {
        const QString &text = lines_[i].text;
        if (parseSection(text, &name))
            break;
        if (parseKey(text, &name, &valueStart) && sameName(name, key))
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
    return withoutQuotes(lines_[line].text.mid(valueStart).trimmed());
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const {
    const QString text = readString(section, key);
    int value = 0;
    if (NumberText::tryToInt(text, &value) || tryHexInteger(text, &value))
        return value;
    return defaultValue;
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
    const QByteArray bytes = encode(text);
    if (bytes.isNull())
        throwWriteError();

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

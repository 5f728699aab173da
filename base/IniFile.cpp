#include "base/IniFile.h"

#include "base/Errors.h"
#include "base/NumberText.h"
#include "base/SavedFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cctype>

namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned bytes map to the C1 control of the same
// number (as Windows does), so every byte survives a load and a save.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QByteArray Utf8Bom("\xEF\xBB\xBF");

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
QString decodeStrict(QStringDecoder::Encoding encoding, QByteArrayView bytes) {
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

bool isBlank(QStringView text) {
    return text.trimmed().isEmpty();
}

// "[name]" with optional blanks around; the name runs to the last "]".
bool parseSection(QStringView line, QStringView *name) {
    // Cheap test first: lookups scan every line of the file.
    qsizetype first = 0;
    while (first < line.size() && line[first].isSpace())
        ++first;
    if (first == line.size() || line[first] != QLatin1Char('['))
        return false;
    const QStringView t = line.trimmed();
    const qsizetype close = t.lastIndexOf(QLatin1Char(']'));
    if (close < 1)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool isSection(QStringView line) {
    QStringView name;
    return parseSection(line, &name);
}

// "key=value"; *valueStart is the index just after "=" and its following blanks.
bool parseKey(QStringView line, QStringView *key, qsizetype *valueStart) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    const QStringView k = line.left(eq).trimmed();
    if (k.isEmpty() || k.startsWith(QLatin1Char(';')) || k.startsWith(QLatin1Char('[')))
        return false;
    *key = k;
    qsizetype start = eq + 1;
    while (start < line.size() && (line[start] == QLatin1Char(' ') || line[start] == '\t'))
        ++start;
    *valueStart = start;
    return true;
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QStringView endText(quint32 end) {
    static const QString ends[4] = {QString(), QStringLiteral("\n"), QStringLiteral("\r"),
                                    QStringLiteral("\r\n")};
    return ends[end & 3u];
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

IniFile::LoadResult IniFile::load() {
    text_.clear();
    added_.clear();
    lines_.clear();
    sections_.clear();
    newline_ = CrLf;
    encoding_ = Encoding::Utf8;
    loadFault_ = FileFault();

    LoadResult result;
    const QFileInfo info(path_);
    if (!info.exists()) {
        result.status = LoadResult::Status::Missing;
        result.fault =
            FileFault::found(FileFault::Problem::Missing, path_, FileFault::Cause::System);
        result.message = result.fault.windowText();
        return result;
    }
    auto fail = [&](LoadResult::Status status, const FileFault &fault) {
        text_.clear();
        loadFault_ = fault;
        result.status = status;
        result.fault = fault;
        result.message = fault.windowText();
        return result;
    };
    const FileFault tooLarge =
        FileFault::found(FileFault::Problem::TooLarge, path_, FileFault::Cause::TooLarge);
    if (info.size() > MaxFileSize)
        return fail(LoadResult::Status::TooLarge, tooLarge);

    QFile file(path_);
    // Only a regular file is opened: opening a named pipe would wait for a writer for ever.
    if (info.isDir())
        return fail(
            LoadResult::Status::Unreadable,
            FileFault::found(FileFault::Problem::CannotRead, path_, FileFault::Cause::Folder));
    if (!info.isFile())
        return fail(
            LoadResult::Status::Unreadable,
            FileFault::found(FileFault::Problem::CannotRead, path_, FileFault::Cause::NotRegular));
    if (!file.open(QIODevice::ReadOnly))
        return fail(LoadResult::Status::Unreadable,
                    FileFault::system(FileFault::Problem::CannotRead, path_, file.errorString()));
    // Into room for the size seen and one byte more, which tells a file that grew meanwhile;
    // it is read on up to one byte past the limit (read(MaxFileSize + 1) would allocate the
    // whole limit for every small file).
    QByteArray bytes(info.size() + 1, Qt::Uninitialized);
    qint64 got = 0;
    for (qint64 n = 0;; got += n) {
        if (got == bytes.size()) {
            if (got > MaxFileSize)
                break;
            bytes.resize(qMin(2 * got, MaxFileSize + 1));
        }
        n = file.read(bytes.data() + got, bytes.size() - got);
        if (n <= 0)
            break;
    }
    bytes.truncate(got);
    if (file.error() != QFileDevice::NoError)
        return fail(LoadResult::Status::Unreadable,
                    FileFault::system(FileFault::Problem::CannotRead, path_, file.errorString()));
    if (bytes.size() > MaxFileSize)
        return fail(LoadResult::Status::TooLarge, tooLarge);

    if (!decode(bytes))
        return fail(
            LoadResult::Status::Unreadable,
            FileFault::found(FileFault::Problem::CannotRead, path_, FileFault::Cause::BrokenUtf16));
    bytes = QByteArray(); // the text holds it now
    // No text file holds a NUL character; a file that does (a PDF, an image, an archive) is
    // not read, so a save can never add sections to it.
    if (text_.contains(QChar(u'\0')))
        return fail(
            LoadResult::Status::NotText,
            FileFault::found(FileFault::Problem::CannotRead, path_, FileFault::Cause::NotText));
    splitLines();
    return result;
}

bool IniFile::decode(const QByteArray &bytes) {
    if (bytes.startsWith(Utf16LEBom) || bytes.startsWith(Utf16BEBom)) {
        const bool little = bytes.startsWith(Utf16LEBom);
        encoding_ = little ? Encoding::Utf16LE : Encoding::Utf16BE;
        // An odd byte count is a file cut inside a character; it could not be saved as read.
        if (bytes.size() % 2 != 0)
            return false;
        text_ = decodeStrict(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QByteArrayView(bytes).sliced(2));
        return !text_.isNull();
    }
    // UTF-8 when it is valid, else Windows-1252; either fits in one character a byte, so both
    // are decoded into the same room and a file that is no UTF-8 is never held twice.
    const bool bom = bytes.startsWith(Utf8Bom);
    const QByteArrayView body = QByteArrayView(bytes).sliced(bom ? Utf8Bom.size() : 0);
    // The file's own mark is off; a second one is text and must survive a save.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    text_ = QString(qMax(bytes.size(), utf8.requiredSpace(body.size())), Qt::Uninitialized);
    const QChar *const end = utf8.appendToBuffer(text_.data(), body);
    if (!utf8.hasError()) {
        text_.truncate(end - text_.constData());
        encoding_ = bom ? Encoding::Utf8Bom : Encoding::Utf8;
        return true;
    }
    encoding_ = Encoding::Windows1252;
    QChar *const out = text_.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(Cp1252High[b - 0x80]) : QChar(b);
    }
    text_.truncate(bytes.size());
    return true;
}

QByteArray IniFile::byteOrderMark() const {
    switch (encoding_) {
    case Encoding::Utf8Bom:
        return Utf8Bom;
    case Encoding::Utf16LE:
        return Utf16LEBom;
    case Encoding::Utf16BE:
        return Utf16BEBom;
    case Encoding::Utf8:
    case Encoding::Windows1252:
        break;
    }
    return QByteArray();
}

bool IniFile::appendEncoded(QByteArray &bytes, const QString &text) const {
    if (text.isEmpty())
        return true;
    QByteArray body;
    switch (encoding_) {
    case Encoding::Windows1252:
        body = encodeCp1252(text);
        break;
    case Encoding::Utf16LE:
        body = encodeStrict(QStringEncoder::Utf16LE, text);
        break;
    case Encoding::Utf16BE:
        body = encodeStrict(QStringEncoder::Utf16BE, text);
        break;
    case Encoding::Utf8Bom:
    case Encoding::Utf8:
        body = encodeStrict(QStringEncoder::Utf8, text);
        break;
    }
    if (body.isNull())
        return false;
    bytes += body;
    return true;
}

// CR LF, LF and a lone CR each end a line; every line keeps its own end for the save. The
// records are counted first so the list is allocated once, at its final size.
void IniFile::splitLines() {
    const qsizetype size = text_.size();
    const QChar *const chars = text_.constData();
    qsizetype count = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (chars[i] == QLatin1Char('\n') ||
            (chars[i] == QLatin1Char('\r') && (i + 1 == size || chars[i + 1] != QLatin1Char('\n'))))
            ++count;
    }
    lines_.reserve(count + 1);
    bool styleSeen = false;
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && chars[end] != QLatin1Char('\n') && chars[end] != QLatin1Char('\r'))
            ++end;
        Line line;
        line.start = quint32(start);
        End ending = NoEnd;
        if (end < size) {
            const bool crlf = chars[end] == QLatin1Char('\r') && end + 1 < size &&
                              chars[end + 1] == QLatin1Char('\n');
            ending = crlf ? CrLf : chars[end] == QLatin1Char('\r') ? Cr : Lf;
        }
        line.bits = quint32(end - start) << 3 | ending;
        if (isSection(QStringView(chars + start, end - start)))
            sections_.append(int(lines_.size()));
        lines_.append(line);
        if (ending == NoEnd)
            break;
        if (!styleSeen) {
            newline_ = ending;
            styleSeen = true;
        }
        start = end + (ending == CrLf ? 2 : 1);
    }
}

QStringView IniFile::textOf(const Line &line) const {
    return QStringView(line.added() ? added_ : text_).mid(line.start, line.length());
}

// Lines written after the load keep their text in added_; the loaded text is never copied.
IniFile::Line IniFile::addedLine(const QString &text, End end) {
    Line line;
    line.start = quint32(added_.size());
    line.bits = quint32(text.size()) << 3 | 4u | end;
    added_ += text;
    return line;
}

qint64 IniFile::heldBytes() const {
    return qint64(text_.capacity() + added_.capacity()) * qint64(sizeof(QChar)) +
           qint64(lines_.capacity()) * qint64(sizeof(Line)) +
           qint64(sections_.capacity()) * qint64(sizeof(int));
}

int IniFile::findSection(const QString &section) const {
    QStringView name;
    for (const int line : sections_) {
        if (parseSection(textOf(lines_[line]), &name) && sameName(name, section))
            return line;
    }
    return -1;
}

// The line after the section's last: the next section's header, or the end of the file.
int IniFile::sectionEnd(int sectionLine) const {
    const auto next = std::upper_bound(sections_.cbegin(), sections_.cend(), sectionLine);
    return next == sections_.cend() ? int(lines_.size()) : *next;
}

// Only the first section of that name counts, as with the Windows profile functions.
int IniFile::findKey(const QString &section, const QString &key) const {
    const int header = findSection(section);
    if (header < 0)
        return -1;
    QStringView name;
    qsizetype valueStart = 0;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (parseKey(textOf(lines_[i]), &name, &valueStart) && sameName(name, key))
            return i;
    }
    return -1;
}

// After the section's last non-blank line, so blank lines before the next section stay there.
int IniFile::insertionPoint(int sectionLine) const {
    int end = sectionEnd(sectionLine);
    while (end > sectionLine + 1 && isBlank(textOf(lines_[end - 1])))
        --end;
    return end;
}

void IniFile::insertLine(int index, const QString &text) {
    if (index > 0 && lines_[index - 1].end() == NoEnd)
        lines_[index - 1].bits |= newline_;
    lines_.insert(index, addedLine(text, newline_));
    auto at = std::lower_bound(sections_.begin(), sections_.end(), index);
    for (auto it = at; it != sections_.end(); ++it)
        ++*it;
    if (isSection(text))
        sections_.insert(at, index);
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const {
    const int line = findKey(section, key);
    if (line < 0)
        return defaultValue;
    QStringView name;
    qsizetype valueStart = 0;
    const QStringView text = textOf(lines_[line]);
    parseKey(text, &name, &valueStart);
    return withoutQuotes(text.mid(valueStart).trimmed().toString());
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
        QStringView name;
        qsizetype valueStart = 0;
        const QStringView text = textOf(lines_[line]);
        parseKey(text, &name, &valueStart);
        lines_[line] = addedLine(text.left(valueStart).toString() + value, lines_[line].end());
        return;
    }
    const QString entry = key + QLatin1Char('=') + value;
    const int header = findSection(section);
    if (header >= 0) {
        insertLine(insertionPoint(header), entry);
        return;
    }
    if (!lines_.isEmpty() && !isBlank(textOf(lines_.last())))
        insertLine(int(lines_.size()), QString());
    insertLine(int(lines_.size()), QLatin1Char('[') + section + QLatin1Char(']'));
    insertLine(int(lines_.size()), entry);
}

void IniFile::throwWriteError(const FileFault &fault) const {
    FileFault write = fault;
    write.problem = FileFault::Problem::CannotWrite;
    write.path = path_;
    throw EFileFault(write);
}

void IniFile::save() const {
    if (loadFault_.isFault())
        throwWriteError(loadFault_);
    // Encoded in pieces of whole lines, so the file is never held as one more text besides.
    qsizetype size = 0;
    for (const Line &line : lines_)
        size += line.length() + endText(line.end()).size();
    const bool wide = encoding_ == Encoding::Utf16LE || encoding_ == Encoding::Utf16BE;
    QByteArray bytes = byteOrderMark();
    bytes.reserve(bytes.size() + (wide ? 2 * size : size));
    QString piece;
    for (qsizetype i = 0; i <= lines_.size(); ++i) {
        if (i < lines_.size()) {
            piece.append(textOf(lines_[i])).append(endText(lines_[i].end()));
            if (piece.size() < 65536)
                continue;
        }
        if (!appendEncoded(bytes, piece))
            throwWriteError(FileFault::found(FileFault::Problem::CannotWrite, path_,
                                             FileFault::Cause::Unencodable));
        piece.resize(0); // keeps its room for the next piece
    }
    saveFileAtomically(path_, bytes, FileFault::Problem::CannotWrite);
}

void IniFile::writeValue(const QString &path, const QString &section, const QString &key,
                         const QString &value) {
    IniFile ini(path);
    ini.load();
    ini.writeString(section, key, value);
    ini.save();
}

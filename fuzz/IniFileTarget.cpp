#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"

#include "base/Errors.h"
#include "base/IniFile.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <limits>

// The INI layer on arbitrary file contents: load, an unchanged save that must give the same
// bytes back, lookups, and writes that must read back before and after a save.
namespace zelfuzz {

namespace {

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "the saved file opens");
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(bytes) == bytes.size(),
          "the input file is written");
}

// A name or value as the tool writes them: printable ASCII on one line. Names get no "=",
// keys no leading "[" or ";", and neither has blanks around it.
QString printable(const QByteArray &bytes, bool name) {
    QString text;
    for (const char c : bytes) {
        const char p = static_cast<char>(0x20 + (static_cast<unsigned char>(c) % 0x5F));
        if (name && p == '=')
            continue;
        text += QLatin1Char(p);
    }
    return name ? text.trimmed() : text;
}

struct Write {
    QString section;
    QString key;
    QString value;
};

Write takeWrite(FuzzInput &in, const QStringList &knownNames) {
    Write w;
    // Often a name the file already holds (in another case), so replacing in place is tried.
    if (in.flag() && !knownNames.isEmpty())
        w.section = knownNames[in.pick(static_cast<int>(knownNames.size()))];
    else
        w.section = printable(in.bytesUntil('\0', 12), true);
    if (in.flag())
        w.section = w.section.toUpper();
    w.key = printable(in.bytesUntil('\0', 12), true);
    while (w.key.startsWith('[') || w.key.startsWith(';'))
        w.key = w.key.mid(1).trimmed();
    if (w.key.isEmpty())
        w.key = QStringLiteral("Key");
    w.value = printable(in.bytesUntil('\0', 20), false);
    return w;
}

bool isUtf16(const QByteArray &bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

// The text of a file with a UTF-16 byte-order mark (a second mark after it is text), or a null
// string when the INI layer must refuse it: cut inside a character, or holding a lone surrogate.
QString utf16Text(const QByteArray &bytes) {
    if (bytes.size() % 2 != 0)
        return QString();
    QStringDecoder decoder(
        bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes.mid(2));
    if (decoder.hasError())
        return QString();
    return text.isNull() ? QString(QLatin1String("")) : text;
}

// CR LF, LF and a lone CR each end a line.
QStringList lines(const QString &text) {
    QStringList out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            continue;
        out << text.mid(start, i - start);
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    out << text.mid(start);
    return out;
}

// Section names as they stand in the file, for lookups that hit. A UTF-16 file reads the same
// in any case; of other files only ASCII lines, as how other bytes read depends on whether the
// file is UTF-8 or Windows-1252.
QStringList sectionNames(const QByteArray &bytes) {
    QStringList candidates;
    if (isUtf16(bytes)) {
        candidates = lines(utf16Text(bytes));
    } else {
        for (const QString &line : lines(QString::fromLatin1(bytes))) {
            if (std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x80; }))
                candidates << line;
        }
    }
    QStringList names;
    for (const QString &line : candidates) {
        const QString t = line.trimmed();
        const qsizetype close = t.lastIndexOf(']');
        if (t.startsWith('[') && close > 0)
            names << t.mid(1, close - 1).trimmed();
    }
    return names;
}

// What a read gives for a written value: blanks around it and one pair of matching quotes
// around the rest are not part of it.
QString readBack(const QString &written) {
    const QString t = written.trimmed();
    if (t.size() >= 2 && t.front() == t.back() &&
        (t.front() == QLatin1Char('"') || t.front() == QLatin1Char('\'')))
        return t.mid(1, t.size() - 2);
    return t;
}

// A 32-bit number in one of the hexadecimal forms Delphi reads: "$1F", "0x1f", "-$1F".
QString hexForm(FuzzInput &in, std::int32_t *value) {
    const std::int32_t v = in.int32();
    const bool negative = in.flag() && v != std::numeric_limits<std::int32_t>::min();
    const auto bits = static_cast<quint32>(negative ? -v : v);
    const bool dollar = in.flag();
    QString digits = QString::number(bits, 16);
    digits = in.flag() ? digits.toUpper() : digits;
    *value = v;
    return QLatin1String(negative ? "-" : "") + QLatin1String(dollar ? "$" : "0x") + digits;
}

bool validUtf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // decode() only describes the work; converting its result to a string does it.
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

void iniFile(const QByteArray &data) {
    FuzzInput in(data);
    const int writes = in.pick(4);
    const QByteArray control = in.bytesUntil('\xff', 200);
    const QByteArray contents = in.rest();

    const QString path = QDir(scratchDir()).filePath(QStringLiteral("fuzz.ini"));
    writeFile(path, contents);

    IniFile ini(path);
    const bool utf16 = isUtf16(contents);
    const bool broken = utf16 && utf16Text(contents).isNull();
    const bool holdsNul =
        !broken && (utf16 ? utf16Text(contents).contains(QChar(0)) : contents.contains('\0'));
    const IniFile::LoadResult::Status status = ini.load().status;
    if (broken || holdsNul) {
        // Saving what could not be read would lose the rest of the file; a file holding a NUL
        // character is no text file.
        check(status == (broken ? IniFile::LoadResult::Status::Unreadable
                                : IniFile::LoadResult::Status::NotText),
              "broken UTF-16 and a file with a NUL character are refused");
        bool refused = false;
        try {
            ini.save();
        } catch (const EFileError &) {
            refused = true;
        }
        check(refused && fileBytes(path) == contents, "a refused file is never saved over");
        return;
    }
    check(status == IniFile::LoadResult::Status::Loaded, "a readable file loads");
    ini.save();
    check(fileBytes(path) == contents, "an unchanged save keeps every byte");

    const QStringList names = sectionNames(contents);
    FuzzInput ops(control);
    for (const QString &name : names.mid(0, 4)) {
        check(ini.hasSection(name), "a section header of the file is found");
        const QString probe = QStringLiteral("\x01probe");
        const QString key = printable(ops.bytesUntil('\0', 8), true);
        const bool has = ini.hasKey(name, key);
        check(has == (ini.readString(name, key, probe) != probe), "hasKey agrees with a read");
        ini.readInteger(name, key, -7);
    }

    std::vector<Write> done;
    for (int i = 0; i < writes; ++i) {
        Write w = takeWrite(ops, names);
        std::int32_t number = 0;
        const bool hex = ops.flag();
        if (hex)
            w.value = hexForm(ops, &number);
        ini.writeString(w.section, w.key, w.value);
        done.push_back(w);
        check(ini.readString(w.section, w.key) == readBack(w.value), "a write reads back");
        if (hex)
            check(ini.readInteger(w.section, w.key, 0) == number, "a hexadecimal number reads");
    }
    ini.save();
    // A Windows-1252 file whose only non-UTF-8 bytes were overwritten reads as UTF-8 from now
    // on; its other lines may then read differently.
    if (!validUtf8(contents) && validUtf8(fileBytes(path)))
        return;

    IniFile reloaded(path);
    check(reloaded.load().ok(), "a saved file loads again");
    // Later writes of the same key win.
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
        bool overwritten = false;
        for (auto later = done.rbegin(); later != it; ++later)
            overwritten |= later->section.compare(it->section, Qt::CaseInsensitive) == 0 &&
                           later->key.compare(it->key, Qt::CaseInsensitive) == 0;
        if (!overwritten)
            check(reloaded.readString(it->section, it->key) == readBack(it->value),
                  QStringLiteral("a saved write reads back: [%1] %2").arg(it->section, it->key));
    }
}

} // namespace zelfuzz

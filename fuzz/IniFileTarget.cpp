#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"

#include "app/Errors.h"
#include "app/IniFile.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringDecoder>

#include <algorithm>

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

// Section names as they stand in the file, for lookups that hit. Only ASCII lines: how other
// bytes read depends on the file's encoding.
QStringList sectionNames(const QByteArray &bytes) {
    QStringList names;
    for (const QByteArray &line : bytes.split('\n')) {
        if (std::any_of(line.begin(), line.end(), [](char c) { return c & 0x80; }))
            continue;
        const QString t = QString::fromLatin1(line).trimmed();
        const qsizetype close = t.lastIndexOf(']');
        if (t.startsWith('[') && close > 0)
            names << t.mid(1, close - 1).trimmed();
    }
    return names;
}

bool validUtf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    decoder.decode(bytes);
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
    const IniFile::LoadResult loaded = ini.load();
    // A file holding a NUL character is no text file: refused, and never written.
    if (loaded.status == IniFile::LoadResult::Status::NotText) {
        check(contents.contains('\0'), "only a file with a NUL byte is refused as not text");
        bool refused = false;
        try {
            ini.save();
        } catch (const EFileError &) {
            refused = true;
        }
        check(refused && fileBytes(path) == contents, "a file that is not text is never written");
        return;
    }
    check(loaded.status == IniFile::LoadResult::Status::Loaded, "a readable file loads");
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
        const Write w = takeWrite(ops, names);
        ini.writeString(w.section, w.key, w.value);
        done.push_back(w);
        check(ini.readString(w.section, w.key) == w.value.trimmed(), "a write reads back");
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
            check(reloaded.readString(it->section, it->key) == it->value.trimmed(),
                  QStringLiteral("a saved write reads back: [%1] %2").arg(it->section, it->key));
    }
}

} // namespace zelfuzz

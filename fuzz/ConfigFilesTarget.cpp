#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"

#include "params/ConfigFile.h"
#include "teach/TeachValueFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

// The two ".zel" loaders on arbitrary file contents. The files may share one file, so each
// save must read back its own values and leave the other's unchanged.
namespace zelfuzz {

namespace {

bool validUtf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // decode() only describes the work; converting its result to a string does it.
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.trimmed();
}

void checkSameConfig(const ConfigFile::LoadResult &before, const ConfigFile::LoadResult &after,
                     bool afterOwnSave) {
    check(before.ok() == after.ok(), "a save keeps whether the file holds settings");
    if (!before.ok())
        return;
    for (auto it = before.values.texts.begin(); it != before.values.texts.end(); ++it) {
        const QString expected = afterOwnSave ? oneLine(it.value()) : it.value();
        check(after.values.texts.value(it.key()) == expected,
              QStringLiteral("setting text survives a save: %1").arg(it.key()));
    }
    check(before.values.choices == after.values.choices, "choice settings survive a save");
}

void checkSameTeachValues(const TeachValueFile::ReadResult &before,
                          const TeachValueFile::ReadResult &after) {
    check(before.ok() == after.ok(), "a save keeps whether the file holds teach values");
    check(before.entries.size() == after.entries.size(), "teach values keep their count");
    for (qsizetype i = 0; i < before.entries.size(); ++i) {
        check(before.entries[i].row == after.entries[i].row &&
                  before.entries[i].caption == after.entries[i].caption,
              QStringLiteral("teach value survives a save: %1")
                  .arg(QLatin1String(before.entries[i].row->valueLabel)));
    }
}

} // namespace

void configFiles(const QByteArray &data) {
    const QString path = QDir(scratchDir()).filePath(QStringLiteral("fuzz.zel"));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(data) == data.size(),
              "the input file is written");
    }
    const ConfigFile::LoadResult config = ConfigFile::load(path);
    const TeachValueFile::ReadResult teach = TeachValueFile::read(path);
    check(config.ok() || !config.error.isEmpty(), "a refused configuration says why");
    check(teach.ok() || teach.entries.isEmpty(), "a refused teach file gives no values");
    if (teach.ok())
        check(teach.entries.size() == 48, "a teach file gives the 48 stored values");

    // The encoding of a Windows-1252 file may turn into UTF-8 when a save overwrites its
    // only non-UTF-8 bytes; the other lines then read differently.
    const bool wasUtf8 = validUtf8(data);

    if (config.ok()) {
        ConfigFile::save(path, config.values);
        if (wasUtf8 || !validUtf8(fileBytes(path))) {
            checkSameConfig(config, ConfigFile::load(path), true);
            checkSameTeachValues(teach, TeachValueFile::read(path));
        }
    }
    if (teach.ok()) {
        const ConfigFile::LoadResult configNow = ConfigFile::load(path);
        TeachValueFile::write(path, [&teach](const TeachValueRow &row) {
            for (const TeachValueFile::Entry &e : teach.entries) {
                if (e.row == &row)
                    return e.caption;
            }
            throw CheckFailed("write asks for a row that read did not give");
        });
        if (wasUtf8 || !validUtf8(fileBytes(path))) {
            checkSameTeachValues(teach, TeachValueFile::read(path));
            checkSameConfig(configNow, ConfigFile::load(path), false);
        }
    }
}

} // namespace zelfuzz

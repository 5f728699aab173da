// Configuration files between an INI file and the values of the settings: keys, sections,
// order, reading rules, and files that are no configuration.
#include "base/Errors.h"
#include "base/IniFile.h"
#include "params/ConfigFile.h"
#include "tests/params/test_configfile_sizelimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every setting with a value of its own, so a mix-up of two keys shows.
ConfigValues distinctValues() {
    ConfigValues values;
    int n = 0;
    for (const ParamDef *row : ConfigFile::rows()) {
        ++n;
        if (ConfigFile::isText(*row))
            values.texts.insert(row->name, QStringLiteral("%1,5").arg(n));
        else
            values.choices.insert(row->name, n % 4);
    }
    return values;
}

} // namespace

class TestConfigFile : public QObject {
    Q_OBJECT

private slots:
    void storesEverySettingButTheAddress() {
        const std::vector<const ParamDef *> rows = ConfigFile::rows();
        QCOMPARE(int(rows.size()), 49);
        QCOMPARE(QString(rows.front()->name), QStringLiteral("ScalPdown"));
        QCOMPARE(QString(rows.back()->name), QStringLiteral("Password"));
        for (const ParamDef *row : rows)
            QVERIFY(QString(row->name) != QStringLiteral("DeviceAdr"));
        QCOMPARE(ConfigFile::sections(),
                 QStringList({"Scalings", "Warnings", "Filter", "Sound", "Configuration extern",
                              "Display", "Signals", "Relais", "Decimal Places", "Miscellaneous"}));
        QCOMPARE(ConfigFile::Filter, QStringLiteral("ZEL Data Files (*.zel)|*.ZEL;*.zel"));
        QCOMPARE(ConfigFile::DefaultSaveName, QStringLiteral("Config1.zel"));
    }

    void writesSectionsAndKeysInTableOrder() {
        QTemporaryDir dir;
        const QString path = dir.filePath("order.zel");
        ConfigValues values = distinctValues();
        values.choices.insert("RelAssign", -1);
        values.texts.insert("Password", "0042");
        ConfigFile::save(path, values);

        const QStringList lines = QString::fromUtf8(readAll(path)).split("\r\n");
        QStringList sections;
        QStringList keys;
        for (const QString &line : lines) {
            if (line.startsWith('['))
                sections.append(line.mid(1, line.size() - 2));
            else if (line.contains('='))
                keys.append(line.left(line.indexOf('=')));
        }
        QCOMPARE(sections, ConfigFile::sections());
        QStringList expectedKeys;
        for (const ParamDef *row : ConfigFile::rows())
            expectedKeys.append(row->name);
        QCOMPARE(keys, expectedKeys);
        QVERIFY(lines.contains("ScalPdown=1,5"));
        QVERIFY(lines.contains("RelAssign=-1"));
        QVERIFY(lines.contains("MeasRange=0"));
        QVERIFY(lines.contains("Password=0042"));
        QVERIFY(!readAll(path).contains("DeviceAdr"));
        // "Sound" is a section and a key in it.
        QCOMPARE(lines.indexOf("Sound=" + QString::number(29 % 4)), lines.indexOf("[Sound]") + 1);
    }

    void readsBackWhatItWrote() {
        QTemporaryDir dir;
        const QString path = dir.filePath("round.zel");
        ConfigValues values = distinctValues();
        values.choices.insert("UnitIN1", 3);
        values.choices.insert("Lang", -1);
        values.texts.insert("WarnPHyst", "1e999");
        values.texts.insert("FilterP", "");
        ConfigFile::save(path, values);
        const ConfigFile::LoadResult loaded = ConfigFile::load(path);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.values.texts, values.texts);
        QCOMPARE(loaded.values.choices, values.choices);
    }

    void missingKeysAndBadIntegersReadAsEmptyAndZero() {
        QTemporaryDir dir;
        const QString path = dir.filePath("part.zel");
        writeAll(path, "[Miscellaneous]\r\nMeasRange=1\r\nLang=1e999\r\n[Signals]\r\n"
                       "SignalP=zwei\r\nSignalIN1= 2 \r\nSignalIN2=1,0\r\n");
        const ConfigFile::LoadResult loaded = ConfigFile::load(path);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.values.choices.value("MeasRange", -7), 1);
        QCOMPARE(loaded.values.choices.value("Lang", -7), 0);
        QCOMPARE(loaded.values.choices.value("SignalP", -7), 0);
        QCOMPARE(loaded.values.choices.value("SignalIN1", -7), 2);
        QCOMPARE(loaded.values.choices.value("SignalIN2", -7), 0);
        QCOMPARE(loaded.values.choices.value("UnitIN1", -7), 0);
        QCOMPARE(loaded.values.texts.size(), 32);
        QCOMPARE(loaded.values.choices.size(), 17);
        for (const QString &text : loaded.values.texts)
            QCOMPARE(text, QString());
    }

    void readsWindowsFilesWithoutRegardToCase() {
        QTemporaryDir dir;
        const QString path = dir.filePath("windows.zel");
        writeAll(path, "[SCALINGS]\r\nscalpdown=12,5\r\nScalPUP = -250 \r\n[scalings]\r\n"
                       "ScalPdown=99\r\n[sound]\r\nSOUND=1\r\nsoundtime=\xB5\r\n");
        const ConfigFile::LoadResult loaded = ConfigFile::load(path);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.values.texts.value("ScalPdown"), QStringLiteral("12,5")); // first wins
        QCOMPARE(loaded.values.texts.value("ScalPup"), QStringLiteral("-250"));
        QCOMPARE(loaded.values.choices.value("Sound"), 1);
        QCOMPARE(loaded.values.texts.value("SoundTime"), QStringLiteral("µ")); // Windows-1252
    }

    void refusesFilesThatHoldNoConfiguration() {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing.zel");
        QVERIFY(ConfigFile::load(missing).error.contains(missing));

        const QString teach = dir.filePath("teach.zel");
        writeAll(teach, "[Teachwerte]\r\nTPStuetz1=5\r\nScalPdown=3\r\n");
        QCOMPARE(ConfigFile::load(teach).error,
                 QStringLiteral("%1 enthält keine Konfigurationsdaten").arg(teach));

        const QString empty = dir.filePath("empty.zel");
        writeAll(empty, QByteArray());
        QVERIFY(ConfigFile::load(empty).error.contains(empty));

        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(char((i * 7919 + 13) % 256));
        const QString bin = dir.filePath("binary.zel");
        writeAll(bin, binary);
        QVERIFY(ConfigFile::load(bin).error.contains(bin));

        QVERIFY(ConfigFile::load(dir.path()).error.contains(dir.path()));

        // 100 MB (sparse, so the test stays fast) is refused before it is read.
        const QString huge = dir.filePath("huge.zel");
        writeAll(huge, "[Scalings]\r\nScalPdown=1\r\n");
        QVERIFY(QFile::resize(huge, 100 * 1024 * 1024));
        QVERIFY(ConfigFile::load(huge).error.contains(huge));
    }

    void loadsLongLinesAndDuplicateKeys() {
        QTemporaryDir dir;
        const QString path = dir.filePath("long.zel");
        const QByteArray longValue(1000000, '7');
        writeAll(path, "[Warnings]\nWarnPup=" + longValue + "\nWarnPup=2\n" +
                           QByteArray(1000000, 'x') + "\n[Display]\nUnitP=2\nUnitP=1\n");
        const ConfigFile::LoadResult loaded = ConfigFile::load(path);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.values.texts.value("WarnPup").size(), 1000000);
        QCOMPARE(loaded.values.choices.value("UnitP"), 2);
    }

    void saveKeepsTheOtherSectionsOfAFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("teach.zel");
        const QByteArray teach = "; teach values\n[Teachwerte]\nTPStuetz1=12\n\n[Display]\n"
                                 "unitp=1\nOwnKey=keep\n";
        writeAll(path, teach);
        ConfigFile::save(path, distinctValues());
        const QString text = QString::fromUtf8(readAll(path));
        QVERIFY(text.startsWith("; teach values\n[Teachwerte]\nTPStuetz1=12\n\n[Display]\n"
                                "unitp=" +
                                QString::number(32 % 4) + "\nOwnKey=keep\nUnitIN1="));
        QVERIFY(!text.contains("\r\n")); // the file keeps its line ends
        QCOMPARE(text.count("[Display]", Qt::CaseInsensitive), 1);
        QCOMPARE(ConfigFile::load(path).values.choices.value("UnitP"), 32 % 4);
    }

    void valuesStayOnTheirLine() {
        QTemporaryDir dir;
        const QString path = dir.filePath("break.zel");
        ConfigValues values;
        values.texts.insert("ScalPdown", "1\r\n[Miscellaneous]\nPassword=9999");
        ConfigFile::save(path, values);
        const ConfigFile::LoadResult loaded = ConfigFile::load(path);
        QCOMPARE(loaded.values.texts.value("ScalPdown"),
                 QStringLiteral("1  [Miscellaneous] Password=9999"));
        QCOMPARE(loaded.values.texts.value("Password"), QString());
    }

    void failedSaveLeavesTheFileAsItWas() {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.zel");
        const QByteArray old = "; mine\r\n[Scalings]\r\nScalPdown=1\r\n";
        writeAll(path, old);
        {
            // A disk that fills up: no file may grow beyond 64 bytes, whoever runs the test.
            const FileSizeLimit limit(64);
            try {
                ConfigFile::save(path, distinctValues());
                QFAIL("the save did not fail");
            } catch (const EFileError &error) {
                QCOMPARE(error.message(),
                         QStringLiteral("nach %1 kann nicht geschrieben werden").arg(path));
            }
        }
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"old.zel"}));
    }
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "test_configfile.moc"

// Teach-value files: layout, round trip, files that are not teach-value files.
#include "base/Errors.h"
#include "teach/TeachValueFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString captionFor(const TeachValueRow &row) {
    return QStringLiteral("%1").arg(row.number * 11 - 300);
}

QHash<QString, QString> asMap(const TeachValueFile::ReadResult &result) {
    QHash<QString, QString> map;
    for (const TeachValueFile::Entry &entry : result.entries)
        map.insert(QString::fromLatin1(entry.row->valueLabel), entry.caption);
    return map;
}

} // namespace

class TestTeachValueFile : public QObject {
    Q_OBJECT

private slots:
    void newFileHoldsThreeSectionsAndFortyEightKeysInOrder() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Teachwerte1.zel");
        TeachValueFile::write(path, captionFor);
        const QStringList lines =
            QString::fromUtf8(readAll(path)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QStringList expected;
        expected << "[interner Druck]";
        for (const char *key : {"M120",      "M100", "M80",  "M60",   "M40",  "M20",  "PM0",
                                "P20",       "P40",  "P60",  "P80",   "P100", "P120", "KalibMinus",
                                "KalibPlus", "I0mA", "I4mA", "I20mA", "U0V",  "U10V"})
            expected << QString::fromLatin1(key) + QLatin1Char('=') +
                            captionFor(
                                *TeachValueTable::findByValueLabel(QString::fromLatin1(key)));
        expected << "[Input 1]";
        for (const char *unit : {"I0mA", "I4mA", "I8mA", "I12mA", "I16mA", "I20mA", "I21mA", "U0V",
                                 "U2V", "U4V", "U6V", "U8V", "U10V", "U11V"}) {
            const QString key = QStringLiteral("IN1") + QString::fromLatin1(unit);
            expected << key + QLatin1Char('=') +
                            captionFor(*TeachValueTable::findByValueLabel(key));
        }
        expected << "[Input 2]";
        for (const char *unit : {"I0mA", "I4mA", "I8mA", "I12mA", "I16mA", "I20mA", "I21mA", "U0V",
                                 "U2V", "U4V", "U6V", "U8V", "U10V", "U11V"}) {
            const QString key = QStringLiteral("IN2") + QString::fromLatin1(unit);
            expected << key + QLatin1Char('=') +
                            captionFor(*TeachValueTable::findByValueLabel(key));
        }
        QCOMPARE(lines, expected);
        QCOMPARE(lines.size(), 51);
    }

    void roundTripKeepsEveryCaptionEmptyOnesIncluded() {
        QTemporaryDir dir;
        const QString path = dir.filePath("round.zel");
        const auto captions = [](const TeachValueRow &row) {
            if (QLatin1String(row.valueLabel) == QLatin1String("KalibPlus"))
                return QString();
            if (QLatin1String(row.valueLabel) == QLatin1String("IN2U11V"))
                return QStringLiteral("9999");
            if (QLatin1String(row.valueLabel) == QLatin1String("U0V"))
                return QStringLiteral("1,5 ä=x;[y]");
            return captionFor(row);
        };
        TeachValueFile::write(path, captions);
        const TeachValueFile::ReadResult read = TeachValueFile::read(path);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.entries.size(), 48);
        for (int i = 0; i < 48; ++i) {
            QCOMPARE(read.entries[i].row, TeachValueTable::storedRows()[i]);
            QCOMPARE(read.entries[i].caption, captions(*read.entries[i].row));
        }
    }

    void saveKeepsOtherSectionsAndUpdatesInPlace() {
        QTemporaryDir dir;
        const QString path = dir.filePath("both.zel");
        writeAll(path, "; device configuration\r\n[Scaling]\r\nScalPdown=-250\r\n"
                       "[input 1]\r\nin1i0ma=old\r\nExtra=keep\r\n");
        TeachValueFile::write(path, captionFor);
        const QString text = QString::fromUtf8(readAll(path));
        QVERIFY(text.startsWith(QStringLiteral("; device configuration\r\n[Scaling]\r\n"
                                               "ScalPdown=-250\r\n[input 1]\r\nin1i0ma=")));
        QVERIFY(text.contains(QStringLiteral("Extra=keep\r\n")));
        QVERIFY(!text.contains(QStringLiteral("old")));
        QCOMPARE(text.count(QStringLiteral("IN1I0mA"), Qt::CaseInsensitive), 1);
        QCOMPARE(text.count(QStringLiteral("[Input 1]"), Qt::CaseInsensitive), 1);
        const TeachValueFile::ReadResult read = TeachValueFile::read(path);
        QVERIFY(read.ok());
        QCOMPARE(asMap(read).value("IN1I0mA"),
                 captionFor(*TeachValueTable::findByValueLabel("IN1I0mA")));
    }

    void missingKeysReadEmptyWhenTheFileIsATeachFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("partial.zel");
        writeAll(path, "[Input 2]\nIN2U11V=17\n");
        const TeachValueFile::ReadResult read = TeachValueFile::read(path);
        QVERIFY(read.ok());
        QCOMPARE(read.entries.size(), 48);
        const QHash<QString, QString> map = asMap(read);
        QCOMPARE(map.value("IN2U11V"), QStringLiteral("17"));
        QCOMPARE(map.value("M120", "x"), QString());
        QCOMPARE(map.value("IN1U0V", "x"), QString());
    }

    void filesThatAreNoTeachFilesAreRefusedNamingTheFile() {
        QTemporaryDir dir;
        const QString config = dir.filePath("config.zel");
        writeAll(config, "[Scaling]\r\nScalPdown=-250\r\n[Miscellaneous]\r\nMeasRange=0\r\n");
        const QString missing = dir.filePath("nothere.zel");
        const QString folder = dir.filePath("folder.zel");
        QVERIFY(QDir(dir.path()).mkdir("folder.zel"));
        const QString empty = dir.filePath("empty.zel");
        writeAll(empty, "");
        for (const QString &path : {config, missing, folder, empty}) {
            const TeachValueFile::ReadResult read = TeachValueFile::read(path);
            QVERIFY2(!read.ok(), qPrintable(path));
            QVERIFY2(read.error.contains(path), qPrintable(read.error));
            QVERIFY(read.entries.isEmpty());
        }
        const QString error = TeachValueFile::read(config).error;
        QVERIFY(error.contains(QStringLiteral("\"interner Druck\"")));
        QVERIFY(error.contains(QStringLiteral("\"Input 2\"")));
    }

    void unwritableTargetRaisesTheWriteError() {
        QTemporaryDir dir;
        const QString path = dir.filePath("no/such/folder/x.zel");
        try {
            TeachValueFile::write(path, captionFor);
            QFAIL("saved into a folder that does not exist");
        } catch (const EFileError &error) {
            QCOMPARE(error.message(),
                     QStringLiteral("nach %1 kann nicht geschrieben werden").arg(path));
        }
    }
};

QTEST_GUILESS_MAIN(TestTeachValueFile)
#include "test_teachvalues_file.moc"

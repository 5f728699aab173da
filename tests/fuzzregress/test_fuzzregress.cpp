#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>

// Replays the fuzz corpora and the crash inputs kept from fuzzing through the targets, so a
// fixed crash stays fixed without clang or libFuzzer.
class TestFuzzRegress : public QObject {
    Q_OBJECT

private slots:
    void replaysEveryKeptInput_data();
    void replaysEveryKeptInput();
    void everyInputFolderNamesATarget();
};

void TestFuzzRegress::replaysEveryKeptInput_data() {
    QTest::addColumn<int>("target");
    for (std::size_t i = 0; i < zelfuzz::targets().size(); ++i)
        QTest::newRow(zelfuzz::targets()[i].name) << static_cast<int>(i);
}

void TestFuzzRegress::replaysEveryKeptInput() {
    QFETCH(int, target);
    const zelfuzz::Target &t = zelfuzz::targets()[target];
    int replayed = 0;
    for (const char *folder : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(ZEL_FUZZ_DIR "/%1/%2").arg(folder, t.name));
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files, QDir::Name)) {
            QFile file(info.filePath());
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(info.filePath()));
            const QByteArray input = file.readAll();
            try {
                t.run(input);
            } catch (const std::exception &e) {
                QFAIL(qPrintable(QStringLiteral("%1: %2").arg(info.filePath(), e.what())));
            }
            ++replayed;
        }
    }
    // A target without any input would pass without testing anything.
    QVERIFY2(replayed >= 3, "the seed corpus of the target is missing");
}

// An input kept under a folder no target reads would never be replayed.
void TestFuzzRegress::everyInputFolderNamesATarget() {
    QStringList names;
    for (const zelfuzz::Target &t : zelfuzz::targets())
        names << QString::fromLatin1(t.name);
    for (const char *folder : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(ZEL_FUZZ_DIR "/%1").arg(QLatin1String(folder)));
        QVERIFY2(dir.exists(), folder);
        QVERIFY2(
            dir.entryInfoList(QDir::Files).isEmpty(),
            qPrintable(QStringLiteral("%1 holds inputs outside a target's folder").arg(folder)));
        for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QVERIFY2(names.contains(sub), qPrintable(QStringLiteral("%1/%2").arg(folder, sub)));
    }
}

ZEL_TEST_MAIN(TestFuzzRegress)
#include "test_fuzzregress.moc"

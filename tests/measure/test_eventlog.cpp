#include "base/Errors.h"
#include "measure/EventLog.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

// Lets writes beyond `bytes` fail with EFBIG, for every user including root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

class TestEventLog : public QObject {
    Q_OBJECT

private slots:
    void lineHasDateTimeAndTheTexts() {
        const QDateTime when(QDate(2026, 3, 7), QTime(9, 5, 4));
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(EventLog::line(when, german, {"12,3 Pa", "21,5 °C", "OVERFLOW"}),
                 QStringLiteral("07.03.26; 09:05:04; 12,3 Pa; 21,5 °C; OVERFLOW"));
        QCOMPARE(EventLog::line(when, german, {"UNDERFLOW"}),
                 QStringLiteral("07.03.26; 09:05:04; UNDERFLOW"));
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QString line = EventLog::line(when.addSecs(6 * 3600), us, {"12.3 Pa"});
        QVERIFY2(line.startsWith(QStringLiteral("3/7/26; 3:05:04")), qPrintable(line));
        QVERIFY2(line.endsWith(QStringLiteral("PM; 12.3 Pa")), qPrintable(line));
    }

    void timeFormatLosesOnlyItsZone() {
        for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::French, QLocale::France),
                                      QLocale(QLocale::English, QLocale::UnitedStates)}) {
            const QString format = EventLog::timeFormatWithoutZone(locale);
            QVERIFY2(!format.contains(QLatin1Char('t')), qPrintable(format));
            QVERIFY(format.contains(QStringLiteral("ss")));
            QVERIFY(!format.back().isSpace());
            const QString shown = locale.toString(QTime(15, 4, 5), format);
            QVERIFY2(!shown.contains(QStringLiteral("UTC")), qPrintable(shown));
            QVERIFY2(shown.contains(QStringLiteral("04:05")), qPrintable(shown));
        }
        QCOMPARE(EventLog::timeFormatWithoutZone(QLocale(QLocale::German, QLocale::Germany)),
                 QStringLiteral("HH:mm:ss"));
    }

    void saveWritesCrLfUtf8() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Log.csv");
        EventLog::save(path, {"07.03.26; 09:05:04; 21,5 °C", "07.03.26; 09:05:05; OVERFLOW"});
        QCOMPARE(readAll(path), QByteArray("07.03.26; 09:05:04; 21,5 \xc2\xb0"
                                           "C\r\n07.03.26; 09:05:05; OVERFLOW\r\n"));
        // Saving again replaces the file; an empty list gives an empty file.
        EventLog::save(path, {});
        QCOMPARE(readAll(path), QByteArray());
        // No extension is added.
        EventLog::save(dir.filePath("plain"), {"x"});
        QCOMPARE(readAll(dir.filePath("plain")), QByteArray("x\r\n"));
    }

    void failedSaveKeepsTheEarlierFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Log.csv");
        EventLog::save(path, {"old"});
        // A write cut short at the limit and one refused outright both leave the old file.
        for (const int lineCount : {60, 2000}) {
            QStringList many;
            for (int i = 0; i < lineCount; ++i)
                many.append(QStringLiteral("07.03.26; 09:05:04; %1 Pa").arg(i));
            bool thrown = false;
            {
                FileSizeLimit limit(512);
                try {
                    EventLog::save(path, many);
                } catch (const EFileError &error) {
                    thrown = true;
                    QVERIFY2(error.message().startsWith(
                                 QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path)),
                             qPrintable(error.message()));
                }
            }
            QVERIFY(thrown);
        }
        QCOMPARE(readAll(path), QByteArray("old\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Log.csv"});

        const QString noFolder = dir.filePath("missing/Log.csv");
        QVERIFY_THROWS_EXCEPTION(EFileError, EventLog::save(noFolder, {"x"}));
    }
};

QTEST_GUILESS_MAIN(TestEventLog)
#include "test_eventlog.moc"

// The event log through the window: line format, scrolling, "Liste leeren", and saving it as
// CSV through the save dialog, including a save that fails during a measurement.
#include "MeasureTestSupport.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>

#include <csignal>
#include <sys/resource.h>

using namespace measuretest;

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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

QStringList logLines(WindowFixture &fx) {
    QStringList lines;
    auto *log = fx.ctl<QListWidget>("LLog");
    for (int i = 0; i < log->count(); ++i)
        lines.append(log->item(i)->text());
    return lines;
}

} // namespace

class TestMeasurementLog : public QObject {
    Q_OBJECT

private slots:
    void linesCarryDateTimeAndValues() {
        WindowFixture fx;
        fx.click("ButtonConnection");
        replyOnce(fx, "?IP", "IP -12.25");
        replyOnce(fx, "?IN1", "Err_Overflow");
        replyOnce(fx, "?IN2", "IN2 45");
        tick(fx);
        const QStringList fields = logLines(fx).value(0).split(QStringLiteral("; "));
        QCOMPARE(fields.size(), 5);
        const QLocale system = QLocale::system();
        QCOMPARE(system.toDate(fields[0], system.dateFormat(QLocale::ShortFormat)).isValid(), true);
        QVERIFY2(QRegularExpression("^\\d?\\d:\\d\\d:\\d\\d").match(fields[1]).hasMatch(),
                 qPrintable(fields[1]));
        QVERIFY(!fields[1].contains(QStringLiteral("UTC")));
        QCOMPARE(fields.mid(2), QStringList({"-12.3 Pa", "OVERFLOW", "45.0 %rF"}));
    }

    void newLineIsScrolledIntoView() {
        WindowFixture fx;
        fx.click("ButtonConnection");
        auto *log = fx.ctl<QListWidget>("LLog");
        for (int i = 0; i < 25; ++i) {
            tick(fx);
            const QRect last = log->visualItemRect(log->item(log->count() - 1));
            QVERIFY(log->viewport()->rect().contains(last.topLeft()));
        }
        QVERIFY(log->verticalScrollBar()->maximum() > 0);
        QCOMPARE(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());
        fx.click("ButtonClearLog");
        QCOMPARE(log->count(), 0);
        QVERIFY(fx.window().TimerMessung->isActive());
        tick(fx);
        QCOMPARE(log->count(), 1);
    }

    void saveWritesTheListAsCsv() {
        WindowFixture fx;
        fx.click("ButtonConnection");
        ticks(fx, 3);
        const QString path = fx.dir() + QStringLiteral("/Messung.csv");
        fx.prompts().saveAnswers = {path};
        fx.click("ButtonSaveLog");
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.prompts().fileDialogs.size(), 1);
        const auto &dialog = fx.prompts().fileDialogs[0];
        QCOMPARE(dialog.dir, fx.dir());
        QCOMPARE(dialog.fileName, QStringLiteral("Log.csv"));
        QCOMPARE(dialog.filter, QStringLiteral("Excel Comma Separated Values (*.csv)|*.csv"));
        QVERIFY(dialog.confirmOverwrite);
        const QStringList lines = logLines(fx);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(readAll(path), (lines.join("\r\n") + "\r\n").toUtf8());
        // The measurement goes on.
        QVERIFY(fx.window().TimerMessung->isActive());

        // Cancelled: nothing is written.
        const QStringList before = QDir(fx.dir()).entryList(QDir::Files);
        fx.click("ButtonSaveLog");
        QCOMPARE(QDir(fx.dir()).entryList(QDir::Files), before);

        // A name without extension stays so; an empty list gives an empty file.
        fx.click("ButtonClearLog");
        fx.prompts().saveAnswers = {fx.dir() + QStringLiteral("/leer")};
        fx.click("ButtonSaveLog");
        QCOMPARE(readAll(fx.dir() + QStringLiteral("/leer")), QByteArray());
    }

    void failedSaveKeepsTheFileAndStopsTheMeasurement() {
        WindowFixture fx;
        TformMain &w = fx.window();
        const QString path = fx.dir() + QStringLiteral("/Log.csv");
        writeFile(path, "earlier\r\n");
        fx.click("ButtonConnection");
        ticks(fx, 60);
        fx.prompts().saveAnswers = {path};
        {
            FileSizeLimit limit(512);
            fx.click("ButtonSaveLog");
        }
        QCOMPARE(fx.prompts().errors.size(), 1);
        QVERIFY2(fx.prompts().errors[0].startsWith(
                     QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path)),
                 qPrintable(fx.prompts().errors[0]));
        QCOMPARE(readAll(path), QByteArray("earlier\r\n"));
        QCOMPARE(QDir(fx.dir()).entryList({"Log.csv*"}, QDir::Files), QStringList{"Log.csv"});
        QVERIFY(!w.state.measurementRunning);
        QVERIFY(!w.TimerMessung->isActive());
        QVERIFY(!w.ComPort().connected());
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung starten"));
        // The list is kept for another try.
        QCOMPARE(fx.ctl<QListWidget>("LLog")->count(), 60);
    }
};

ZEL_TEST_MAIN(TestMeasurementLog)
#include "test_measurement_log.moc"

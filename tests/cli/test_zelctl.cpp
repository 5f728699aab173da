#include "tests/support/ZelctlProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// zelctl as a script runs it, against zelsim on a pseudo-terminal.
class TestZelctl : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void settingsRoundTripThroughAFile();
    void refusalsUsageAndLinkFailuresHaveTheirExitCodes();
    void stopSignalDuringReadLeavesNoFile();

private:
    void startSimulator(const QStringList &options = {});
    using Result = ZelctlResult;
    Result zelctl(const QStringList &arguments);
    QString simulatorLog();

    QTemporaryDir dir_;
    QProcess sim_;
    QString pty_;
    QString log_;
    int simulators_ = 0;
};

void TestZelctl::init() {
    QVERIFY(dir_.isValid());
}

void TestZelctl::cleanup() {
    if (sim_.state() != QProcess::NotRunning) {
        sim_.terminate();
        sim_.waitForFinished(5000);
    }
}

void TestZelctl::startSimulator(const QStringList &options) {
    // Each simulator logs to a file of its own.
    log_ = dir_.filePath(QStringLiteral("sim%1.log").arg(++simulators_));
    pty_ = startZelsim(sim_, ZELSIM_PATH, log_, options);
    QVERIFY2(pty_.startsWith("/dev/pts/"), qPrintable(pty_));
}

TestZelctl::Result TestZelctl::zelctl(const QStringList &arguments) {
    // The tool settings file is looked for beside the program; none here, so German.
    return runZelctl(ZELCTL_PATH, pty_, arguments);
}

QString TestZelctl::simulatorLog() {
    QFile log(log_);
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

void TestZelctl::settingsRoundTripThroughAFile() {
    startSimulator();
    const QString file = dir_.filePath("plant.zel");
    Result r = zelctl({"read", "-o", file});
    QCOMPARE(r.code, 0);
    QFile zel(file);
    QVERIFY(zel.open(QIODevice::ReadOnly));
    QString text = QString::fromLatin1(zel.readAll());
    zel.close();
    QVERIFY2(text.contains("WarnPup=200"), qPrintable(text));
    QVERIFY(text.contains("Password=0000"));

    // The file differs in one setting, written as a person would type it.
    text.replace("WarnPup=200", "WarnPup=150.0");
    QVERIFY(zel.open(QIODevice::WriteOnly | QIODevice::Truncate));
    zel.write(text.toLatin1());
    zel.close();
    r = zelctl({"diff", file});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out.startsWith("WarnPup") && r.out.count('\n') == 1, qPrintable(r.out));

    // Sent, read back and compared by value: "150.0" went out, "150" came back.
    r = zelctl({"write", file, "--verify"});
    QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
    QVERIFY(r.out.contains("verified"));
    QVERIFY(simulatorLog().contains(">WarnPup 150.0"));
    QVERIFY(simulatorLog().contains("SaveSet"));
    QCOMPARE(zelctl({"diff", file}).code, 0);

    // The machine-readable shape, captions in the language asked for.
    r = zelctl({"--json", "--lang", "en", "read"});
    QCOMPARE(r.code, 0);
    const QJsonObject read = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(read.value("port").toString(), QString("COM1"));
    QCOMPARE(read.value("device").toString(), pty_);
    const QJsonArray settings = read.value("settings").toArray();
    QCOMPARE(settings.size(), 50);
    const QJsonObject warnPup = settings.at(11).toObject();
    QCOMPARE(warnPup.value("name").toString(), QString("WarnPup"));
    QCOMPARE(warnPup.value("value").toString(), QString("150"));
    QCOMPARE(warnPup.value("caption").toString(), QString("Warning int. pressure: Value top [Pa]"));
    const QJsonObject unitP = settings.at(31).toObject();
    QCOMPARE(unitP.value("name").toString(), QString("UnitP"));
    QCOMPARE(unitP.value("value").toInt(), 0);
    QCOMPARE(unitP.value("shown").toString(), QString("Pa"));

    // Single settings: a unit list is read together with the mode that gives it its meaning.
    r = zelctl({"--json", "get", "unitin2", "WarnPup"});
    QCOMPARE(r.code, 0);
    const QJsonArray got =
        QJsonDocument::fromJson(r.out.toUtf8()).object().value("settings").toArray();
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.at(0).toObject().value("name").toString(), QString("UnitIN2"));
    QCOMPARE(got.at(0).toObject().value("shown").toString(), QString("%rF"));
    QVERIFY(simulatorLog().contains("?ExtPress"));
}

void TestZelctl::refusalsUsageAndLinkFailuresHaveTheirExitCodes() {
    startSimulator();
    // The device refuses: every refused setting is named, the rest still goes out and is saved.
    Result r = zelctl({"set", "WarnPup=abc", "WarnPdown=-150"});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.out, QString("refused: WarnPup\n"));
    QVERIFY(r.err.contains("Nicht alle Daten"));
    QVERIFY(simulatorLog().contains(">WarnPdown -150"));
    QVERIFY(simulatorLog().contains("SaveSet"));

    r = zelctl({"--json", "set", "Sound=1"});
    QCOMPARE(r.code, 0);
    QCOMPARE(QJsonDocument::fromJson(r.out.toUtf8()).object().value("refused").toArray().size(), 0);

    // Usage and file errors: nothing reaches the device.
    const QString before = simulatorLog();
    QCOMPARE(zelctl({"bogus"}).code, 3);
    QCOMPARE(zelctl({"--bogus", "read"}).code, 3);
    QCOMPARE(zelctl({"set", "Sound=7"}).code, 3);
    QCOMPARE(zelctl({"set", "DeviceAdr=2"}).code, 3);
    QCOMPARE(zelctl({"set", "NoSuchSetting=1"}).code, 3);
    QCOMPARE(zelctl({"write", dir_.filePath("missing.zel")}).code, 3);
    QCOMPARE(zelctl({"factory", "300"}).code, 3);
    // A value holding a control character would split a command line.
    const QString unsafe = dir_.filePath("unsafe.zel");
    QFile file(unsafe);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Warnings]\r\nWarnPup=1\x1b"
               "2\r\n");
    file.close();
    r = zelctl({"write", unsafe});
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.contains("WarnPup"), qPrintable(r.err));
    QCOMPARE(simulatorLog(), before);

    // Link failures: a device that is not there, a device that stops answering.
    r = zelctl({"--port", "/dev/zel-not-there", "read"});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains("/dev/zel-not-there"), qPrintable(r.err));
    cleanup();
    startSimulator({"--silent-from", "3"});
    r = zelctl({"--reply-timeout", "200", "read", "-o", dir_.filePath("never.zel")});
    QCOMPARE(r.code, 2);
    QVERIFY(!QFile::exists(dir_.filePath("never.zel")));
}

void TestZelctl::stopSignalDuringReadLeavesNoFile() {
    startSimulator({"--delay-ms", "40"});
    const QString file = dir_.filePath("aborted.zel");
    QProcess process;
    process.start(ZELCTL_PATH, {"--port", pty_, "--lang", "en", "read", "-o", file});
    QVERIFY(process.waitForStarted(5000));
    // Well into the 50 queries.
    QTRY_VERIFY_WITH_TIMEOUT(simulatorLog().count("?") >= 5, 10000);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.contains("Aborted by user") || err.contains("abort", Qt::CaseInsensitive),
             qPrintable(err));
    QVERIFY(!QFile::exists(file));
    // The query under way when the signal came was the last one.
    QVERIFY(simulatorLog().count("?") < 50);

    // For watch the signal is the normal end, also while a reply is awaited. Started at once on
    // the same line: the reply the stopped read still owed (it goes out 40 ms after its query)
    // was taken by that read before it ended, so it cannot answer the watch's first query.
    QProcess watch;
    const int before = simulatorLog().count("?");
    watch.start(ZELCTL_PATH, {"--port", pty_, "watch", "--interval", "10"});
    QVERIFY(watch.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(simulatorLog().count("?") >= before + 2, 10000);
    ::kill(static_cast<pid_t>(watch.processId()), SIGINT);
    QVERIFY(watch.waitForFinished(10000));
    QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
    QVERIFY2(watch.exitCode() == 0, watch.readAllStandardError().constData());
}

QTEST_GUILESS_MAIN(TestZelctl)
#include "test_zelctl.moc"

#include "TermiosClient.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// The program as a user starts it: path on the first line, options, clean end on a signal.
class TestZelsimCli : public QObject {
    Q_OBJECT

private slots:
    void servesTheVariantItIsToldToBe();
    void faultOptions();
    void helpAndBadOptions();

private:
    // Starts zelsim and returns the slave path it printed (empty on failure).
    QString launch(QProcess &process, const QStringList &options);
    void terminate(QProcess &process);
};

QString TestZelsimCli::launch(QProcess &process, const QStringList &options) {
    process.start(ZELSIM_PATH, QStringList{"--pty"} + options);
    if (!process.waitForStarted(5000))
        return {};
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(5000))
            return {};
    }
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}

void TestZelsimCli::terminate(QProcess &process) {
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void TestZelsimCli::servesTheVariantItIsToldToBe() {
    QTemporaryDir dir;
    const QString log = dir.filePath("sim.log");
    QProcess process;
    const QString path = launch(process, {"--range", "100", "--no-recalibration", "--pressure",
                                          "-42.5", "--no-noise", "--log", log, "--wire-time"});
    QVERIFY2(path.startsWith("/dev/pts/"), qPrintable(path));
    {
        TermiosClient client(path);
        QCOMPARE(client.exchange("?MeasRange"), QByteArray("MeasRange 1"));
        QCOMPARE(client.exchange("?ScalPup"), QByteArray("ScalPup 100"));
        QCOMPARE(client.exchange("?IP"), QByteArray("IP -42.5"));
        QCOMPARE(client.exchange(">TCalibPlus"), QByteArray("Err_CmdNotExist"));
        QCOMPARE(client.exchange("RecallCalib"), QByteArray("Err_CmdNotExist"));
    }
    terminate(process);
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("<- ?MeasRange\n"));
    QVERIFY(text.contains("-> IP -42.5\n"));
    QCOMPARE(text.count('\n'), 10);
}

void TestZelsimCli::faultOptions() {
    QProcess process;
    const QString path =
        launch(process, {"--err-once", "2", "--empty", "3", "--reply", "?ScalPdown=ScalPup 5",
                         "--reply", ">WarnPup 5=Err_ValRange", "--hangup-after", "6"});
    QVERIFY(!path.isEmpty());
    TermiosClient client(path);
    QCOMPARE(client.exchange("?UnitP"), QByteArray("UnitP 0"));          // 1
    QCOMPARE(client.exchange("?UnitP"), QByteArray("Err"));              // 2
    QCOMPARE(client.exchange("?UnitP"), QByteArray(""));                 // 3
    QCOMPARE(client.exchange("?ScalPdown"), QByteArray("ScalPup 5"));    // 4
    QCOMPARE(client.exchange(">WarnPup 5"), QByteArray("Err_ValRange")); // 5
    QCOMPARE(client.exchange("?UnitP"), QByteArray("UnitP 0"));          // 6
    client.writeLine("?UnitP");                                          // 7: hang-up
    QCOMPARE(client.readToCr(5000).end, TermiosClient::End::HangUp);
    terminate(process);

    QProcess silent;
    TermiosClient quiet(launch(silent, {"--silent-from", "2"}));
    QCOMPARE(quiet.exchange("?UnitP"), QByteArray("UnitP 0"));
    quiet.writeLine("?UnitP");
    QCOMPARE(quiet.readToCr(300).end, TermiosClient::End::Timeout);
    quiet.writeLine("?UnitP");
    QCOMPARE(quiet.readToCr(300).end, TermiosClient::End::Timeout);
    terminate(silent);
}

void TestZelsimCli::helpAndBadOptions() {
    QProcess help;
    help.start(ZELSIM_PATH, {"--help"});
    QVERIFY(help.waitForFinished(5000));
    QCOMPARE(help.exitCode(), 0);
    const QByteArray text = help.readAllStandardOutput();
    for (const char *option : {"--pty", "--range", "--no-recalibration", "--log", "--wire-time",
                               "--pressure", "--silent-from", "--hangup-after", "--reply"})
        QVERIFY2(text.contains(option), option);

    for (const QStringList &bad :
         {QStringList{}, QStringList{"--pty", "--range", "120"},
          QStringList{"--pty", "--err-once", "x"}, QStringList{"--pty", "--reply", "novalue"}}) {
        QProcess process;
        process.start(ZELSIM_PATH, bad);
        QVERIFY(process.waitForFinished(5000));
        QVERIFY2(process.exitCode() != 0, qPrintable(bad.join(' ')));
        QVERIFY(process.readAllStandardOutput().isEmpty()); // no path printed
    }
}

QTEST_GUILESS_MAIN(TestZelsimCli)
#include "test_zelsim_cli.moc"

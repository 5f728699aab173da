// zelctl teach and bench-check as a script runs them, against zelsim --bench: a teach run over
// the simulated Prologix adapter with --json and its teach record, Ctrl-C during a stability
// poll, and a bench check that finds a wrong address.
#include "sim/DaqUnitSim.h"
#include "tests/support/TestMain.h"
#include "tests/support/ZelctlProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

// zelsim with the bench; its endpoints by name ("prologix-serial", "lan-daq", ...).
struct BenchSim {
    explicit BenchSim(const QString &log, const QStringList &options) {
        pty = startZelsim(process, ZELSIM_PATH, log, QStringList{"--bench"} + options);
        while (endpoints.size() < 4 && process.state() == QProcess::Running) {
            if (!process.canReadLine() && !process.waitForReadyRead(5000))
                break;
            const QStringList words =
                QString::fromLocal8Bit(process.readLine()).trimmed().split(' ');
            if (words.size() == 2)
                endpoints.insert(words.at(0), words.at(1));
        }
    }
    ~BenchSim() {
        process.terminate();
        process.waitForFinished(5000);
    }
    QProcess process;
    QString pty;
    QMap<QString, QString> endpoints;
};

// zelctl copied beside a tool settings file with the bench's addresses and channels.
struct ZelctlBeside {
    explicit ZelctlBeside(const QByteArray &gpib1 = "1") {
        program = dir.filePath("zelctl");
        QFile::copy(ZELCTL_PATH, program);
        QFile settings(dir.filePath("ZEL ToolConfig.ini"));
        if (!settings.open(QIODevice::WriteOnly))
            return;
        const sim::DaqUnitSim::Wiring w;
        settings.write("[IEEE]\r\nGPIB1=" + gpib1 + "\r\nGPIB2=9\r\nBusTimeoutMs=2000\r\n" +
                       "[Agilent]\r\nAgilent_OUTD_Spg=" + w.outputVoltage +
                       "\r\nAgilent_OUTD_Strom=" + w.outputCurrent +
                       "\r\nAgilent_IN1_2_Multiplexer=" + w.multiplexer +
                       "\r\nAgilent_IN1_2_Spg=" + w.inputVoltageSource +
                       "\r\nAgilent_IN1_2_Spgmessung=" + w.inputVoltageMeasure +
                       "\r\nAgilent_IN1_2_Strom=" + w.inputCurrentSource +
                       "\r\nAgilent_IN1_2_Strommessung=" + w.inputCurrentMeasure + "\r\n");
    }
    void start(QProcess &process, const QString &pty, const QStringList &arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ZELCTL_WAIT_SCALE", "0.002");
        process.setProcessEnvironment(env);
        process.start(program, QStringList{"--port", pty, "--lang", "en"} + arguments);
    }
    ZelctlResult run(const QString &pty, const QStringList &arguments) {
        QProcess process;
        start(process, pty, arguments);
        ZelctlResult result;
        if (!process.waitForFinished(120000))
            return result;
        result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    QTemporaryDir dir;
    QString program;
};

QString readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestZelctlTeach : public QObject {
    Q_OBJECT

private slots:
    void teachOverTheSimulatedAdapter();
    void ctrlCDuringAStablePollVents();
    void benchCheckFindsAWrongAddress();
};

void TestZelctlTeach::teachOverTheSimulatedAdapter() {
    QTemporaryDir logs;
    BenchSim sim(logs.filePath("sim.log"), {"--settling-ms", "0"});
    QVERIFY(!sim.pty.isEmpty() && sim.endpoints.size() == 4);
    ZelctlBeside ctl;
    const QString record = ctl.dir.filePath("teach.csv");
    const ZelctlResult result = ctl.run(
        sim.pty, {"--json", "teach", "--range", "250", "--groups", "pressure,out-voltage", "--yes",
                  "--bus", "prologix:" + sim.endpoints.value("prologix-serial"), "-o", record});
    QVERIFY2(result.code == 0, qPrintable(result.err));
    const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8()).object();
    const QJsonArray points = json.value("points").toArray();
    QCOMPARE(points.size(), 13 + 2);
    QCOMPARE(json.value("failed").toInt(), 0);
    const QJsonObject first = points.first().toObject();
    QCOMPARE(first.value("point").toString(), QStringLiteral("M120"));
    QCOMPARE(first.value("setpoint").toDouble(), -300.0);
    QVERIFY(first.value("measured").isNull());
    // The valves follow the taught point: the minus side saw the pressure.
    // (with no pressure on the device it would read about 32768, as PM0 does).
    const int m120 = first.value("taught").toString().toInt();
    QVERIFY2(m120 > 0 && m120 < 10000, qPrintable(result.out));
    const QJsonObject tenVolts = points.last().toObject();
    QCOMPARE(tenVolts.value("point").toString(), QStringLiteral("U10V"));
    QCOMPARE(tenVolts.value("unit").toString(), QStringLiteral("V"));
    QVERIFY(qAbs(tenVolts.value("measured").toDouble() - 10.0) < 0.004);
    const QStringList lines = readAll(record).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 15);
    QCOMPARE(lines.first(), QStringLiteral("group,point,setpoint,unit,measured,taught"));
    QVERIFY(lines.last().startsWith("out-voltage,U10V,10,V,"));
    const QString log = readAll(logs.filePath("sim.log"));
    QVERIFY(log.contains("<- SavePar"));
    QVERIFY(log.contains("> MEAS:VOLT:DC? 100,0.001,(@101)"));
}

void TestZelctlTeach::ctrlCDuringAStablePollVents() {
    QTemporaryDir logs;
    // A controller that never settles: the run polls " Stable?" until it is stopped.
    BenchSim sim(logs.filePath("sim.log"), {"--settling-ms", "100000000"});
    QVERIFY(!sim.pty.isEmpty() && sim.endpoints.size() == 4);
    ZelctlBeside ctl;
    QProcess process;
    ctl.start(process, sim.pty,
              {"teach", "--range", "100", "--groups", "pressure", "--yes", "--bus",
               "lan:" + sim.endpoints.value("lan-daq") + "," + sim.endpoints.value("lan-pc")});
    QString log;
    for (int i = 0; i < 600 && !log.contains(">  Stable?"); ++i) {
        process.waitForFinished(100);
        log = readAll(logs.filePath("sim.log"));
    }
    QVERIFY(log.contains(">  Stable?"));
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains("Abort by user"));
    log = readAll(logs.filePath("sim.log"));
    const int lastVent = log.lastIndexOf(">  Vent");
    QVERIFY(lastVent > log.lastIndexOf(">  _pcs4 func ctrl"));
    QVERIFY(log.lastIndexOf("bench close") > lastVent);
}

void TestZelctlTeach::benchCheckFindsAWrongAddress() {
    QTemporaryDir logs;
    BenchSim sim(logs.filePath("sim.log"), {});
    QVERIFY(!sim.pty.isEmpty() && sim.endpoints.size() == 4);
    ZelctlBeside ctl("5");
    const ZelctlResult result =
        ctl.run(sim.pty, {"--json", "bench-check", "--bus",
                          "prologix:" + sim.endpoints.value("prologix-tcp")});
    QCOMPARE(result.code, 1);
    const QJsonArray instruments =
        QJsonDocument::fromJson(result.out.toUtf8()).object().value("instruments").toArray();
    QCOMPARE(instruments.size(), 2);
    const QJsonObject daq = instruments.at(0).toObject();
    QVERIFY(daq.value("answered").toBool());
    QVERIFY(daq.value("reply").toString().contains("34970A"));
    const QJsonObject controller = instruments.at(1).toObject();
    QCOMPARE(controller.value("address").toString(), QStringLiteral("5"));
    QVERIFY(!controller.value("answered").toBool());
    QVERIFY2(controller.value("reply").toString().contains("GPIB-Adresse 5"),
             qPrintable(controller.value("reply").toString()));
    // Nothing was set or vented.
    QVERIFY(!readAll(logs.filePath("sim.log")).contains("Vent"));
}

ZEL_TEST_MAIN(TestZelctlTeach)
#include "test_zelctl_teach.moc"

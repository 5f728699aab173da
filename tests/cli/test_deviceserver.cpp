#include "tests/support/WindowFixture.h"
#include "tests/support/ZelctlProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// zelctl and the window through a real serial device server: ser2net in front of zelsim's
// pseudo-terminal, reached over RFC 2217 and over raw TCP, and the port search over a set of
// pseudo-terminals.
class TestDeviceServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void loadSendAndMeasureThroughTheServer_data();
    void loadSendAndMeasureThroughTheServer();
    void portSearchTellsWhoAnswered();

private:
    bool startServer(bool rfc2217, quint16 port);
    void stopServer();
    // The log lines without their time stamps, from line `from` on.
    QStringList wireLines(int from = 0);

    QTemporaryDir dir_;
    QProcess sim_;
    QProcess server_;
    QString pty_;
    QString log_;
    QString ser2net_;
};

namespace {
quint16 freePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}
} // namespace

void TestDeviceServer::initTestCase() {
    QVERIFY(dir_.isValid());
    ser2net_ = QStandardPaths::findExecutable(QStringLiteral("ser2net"),
                                              {"/usr/sbin", "/usr/local/sbin", "/usr/bin"});
    // CI and scripts/setup install it; a build machine without it says so instead of passing.
    QVERIFY2(!ser2net_.isEmpty(), "ser2net is not installed (scripts/setup installs it)");
}

void TestDeviceServer::cleanup() {
    stopServer();
    if (sim_.state() != QProcess::NotRunning) {
        sim_.terminate();
        sim_.waitForFinished(5000);
    }
}

bool TestDeviceServer::startServer(bool rfc2217, quint16 port) {
    const QString config = dir_.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QString accepter = (rfc2217 ? QStringLiteral("telnet(rfc2217),tcp,127.0.0.1,%1")
                                      : QStringLiteral("tcp,127.0.0.1,%1"))
                                 .arg(port);
    file.write(QStringLiteral("connection: &zel\n"
                              "  accepter: %1\n"
                              "  connector: serialdev,%2,9600n81,local\n"
                              "  options:\n"
                              "    kickolduser: true\n")
                   .arg(accepter, pty_)
                   .toUtf8());
    file.close();
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.start(ser2net_, {"-n", "-d", "-c", config, "-P", dir_.filePath("ser2net.pid")});
    if (!server_.waitForStarted(5000))
        return false;
    // Listening once a connection is taken; a connection alone opens nothing on the line.
    for (int attempt = 0; attempt < 100; ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(100)) {
            socket.disconnectFromHost();
            return true;
        }
        if (server_.state() == QProcess::NotRunning)
            return false;
        QTest::qWait(50);
    }
    return false;
}

void TestDeviceServer::stopServer() {
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(5000)) {
            server_.kill();
            server_.waitForFinished(5000);
        }
    }
}

QStringList TestDeviceServer::wireLines(int from) {
    QFile log(log_);
    QStringList lines;
    if (!log.open(QIODevice::ReadOnly))
        return lines;
    const QStringList all = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    for (int i = from; i < all.size(); ++i)
        lines.append(all.at(i).section(' ', 1));
    return lines;
}

void TestDeviceServer::loadSendAndMeasureThroughTheServer_data() {
    QTest::addColumn<bool>("rfc2217");
    QTest::newRow("rfc2217://") << true;
    QTest::newRow("tcp://") << false;
}

void TestDeviceServer::loadSendAndMeasureThroughTheServer() {
    QFETCH(bool, rfc2217);
    log_ = dir_.filePath(rfc2217 ? "rfc.log" : "tcp.log");
    // A little reply delay keeps a load under way long enough to stop the server within it.
    pty_ = startZelsim(sim_, ZELSIM_PATH, log_, {"--delay-ms", "25"});
    QVERIFY2(pty_.startsWith("/dev/pts/"), qPrintable(pty_));
    const quint16 port = freePort();
    QVERIFY(port != 0);
    QVERIFY(startServer(rfc2217, port));
    const QString address =
        QStringLiteral("%1://127.0.0.1:%2").arg(rfc2217 ? "rfc2217" : "tcp").arg(port);

    // A load: the same lines on the wire and the same file as over the pseudo-terminal.
    const QString direct = dir_.filePath("direct.zel");
    const QString served = dir_.filePath("served.zel");
    QFile::remove(direct);
    QFile::remove(served);
    ZelctlResult r = runZelctl(ZELCTL_PATH, pty_, {"read", "-o", direct});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QStringList directLines = wireLines();
    r = runZelctl(ZELCTL_PATH, address, {"read", "-o", served});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(wireLines(directLines.size()), directLines);
    QFile a(direct), b(served);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), a.readAll());

    // A send, and a measurement.
    int before = wireLines().size();
    r = runZelctl(ZELCTL_PATH, address, {"set", "WarnPup=150"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QStringList sent = wireLines(before);
    QVERIFY2(sent.contains("<- >WarnPup 150") && sent.contains("<- SaveSet"),
             qPrintable(sent.join('\n')));
    r = runZelctl(ZELCTL_PATH, address, {"--json", "watch", "--count", "2", "--interval", "0.2"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out.count('\n'), 2);
    QVERIFY2(wireLines(before).contains("<- ?IP"), qPrintable(wireLines(before).join('\n')));

    // The server stopped during a load ends it like an unplugged adapter: a link failure that
    // names the server, no file; started again, the next run reconnects.
    const QString broken = dir_.filePath("broken.zel");
    QProcess load;
    load.start(ZELCTL_PATH, {"--port", address, "--lang", "en", "read", "-o", broken});
    QVERIFY(load.waitForStarted(5000));
    before = wireLines().size();
    QTRY_VERIFY_WITH_TIMEOUT(wireLines(before).size() >= 10, 20000);
    stopServer();
    QVERIFY(load.waitForFinished(20000));
    QCOMPARE(load.exitCode(), 2);
    const QString err = QString::fromUtf8(load.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("127.0.0.1:%1").arg(port)), qPrintable(err));
    QVERIFY(!QFile::exists(broken));
    r = runZelctl(ZELCTL_PATH, address, {"get", "WarnPup"});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(QStringLiteral("127.0.0.1:%1").arg(port)), qPrintable(r.err));
    // An address without its port says how one is written.
    r = runZelctl(ZELCTL_PATH, address.section(':', 0, 1), {"get", "WarnPup"});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains("rfc2217://HOST:PORT"), qPrintable(r.err));
    QVERIFY(startServer(rfc2217, port));
    // A raw port addressed as RFC 2217 never takes up COM port control: the error says so.
    if (!rfc2217) {
        r = runZelctl(ZELCTL_PATH, "rfc2217" + address.mid(3), {"get", "WarnPup"});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains("RFC 2217") && r.err.contains("use tcp://"), qPrintable(r.err));
    }
    r = runZelctl(ZELCTL_PATH, address, {"get", "WarnPup"});
    QVERIFY2(r.code == 0 && r.out.contains("150"), qPrintable(r.out + r.err));

    // The window with COM1 bound to the server: a load; the server stopped during the next one
    // ends it like an unplugged adapter, the window free again; the next load connects anew.
    WindowFixture::Config config;
    config.startDevice = false;
    WindowFixture fx(config);
    QFile settings(fx.settingsPath());
    QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write(("[Ports]\r\nCOM1=" + address + "\r\n").toUtf8());
    settings.close();
    fx.restart();
    const QString loaded = QStringLiteral("Daten erfolgreich geladen");
    before = wireLines().size();
    fx.click("ButtonLaden");
    QVERIFY2(fx.prompts().errors.isEmpty(), qPrintable(fx.prompts().errors.join('|')));
    QCOMPARE(fx.status(), loaded);
    QCOMPARE(wireLines(before).filter(QRegularExpression("^<- \\?")).size(), 50);
    before = wireLines().size();
    QTimer stopper;
    connect(&stopper, &QTimer::timeout, this, [&] {
        if (wireLines(before).size() >= 10) {
            stopper.stop();
            stopServer();
        }
    });
    stopper.start(5);
    fx.click("ButtonLaden");
    QCOMPARE(fx.prompts().errors.size(), 1);
    QVERIFY2(fx.prompts().errors.at(0).contains(QStringLiteral("127.0.0.1:%1").arg(port)),
             qPrintable(fx.prompts().errors.at(0)));
    QVERIFY(fx.status() != loaded);
    QVERIFY(fx.ctl<QPushButton>("ButtonLaden")->isEnabled());
    QVERIFY(!fx.window().ComPort().connected());
    QVERIFY(startServer(rfc2217, port));
    fx.prompts().errors.clear();
    fx.click("ButtonLaden");
    QVERIFY2(fx.prompts().errors.isEmpty(), qPrintable(fx.prompts().errors.join('|')));
    QCOMPARE(fx.status(), loaded);
}

void TestDeviceServer::portSearchTellsWhoAnswered() {
    // Two devices answering (one on the 100 Pa range), one silent, one held by another program.
    QProcess sims[4];
    QStringList ptys;
    const QList<QStringList> options = {{}, {"--range", "100"}, {"--silent-from", "1"}, {}};
    for (int i = 0; i < 4; ++i) {
        ptys.append(startZelsim(sims[i], ZELSIM_PATH,
                                dir_.filePath(QStringLiteral("p%1.log").arg(i)), options.at(i)));
        QVERIFY2(ptys.last().startsWith("/dev/pts/"), qPrintable(ptys.last()));
    }
    // The holder: a zelctl watching the fourth device keeps its port open and locked.
    QProcess holder;
    holder.start(ZELCTL_PATH, {"--port", ptys.at(3), "watch", "--interval", "0.2"});
    QVERIFY(holder.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(holder.canReadLine(), 10000);
    const QString heldLog = dir_.filePath("p3.log");

    // COM1..COM4 bound to the four pseudo-terminals in the tool settings file beside a copy of
    // zelctl (the file is looked for beside the program).
    const QString bin = dir_.filePath("bin");
    QVERIFY(QDir().mkpath(bin));
    const QString zelctl = bin + "/zelctl";
    QFile::remove(zelctl);
    QVERIFY(QFile::copy(ZELCTL_PATH, zelctl));
    QFile ini(bin + "/ZEL ToolConfig.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    QString text = "[Ports]\r\n";
    for (int i = 0; i < 4; ++i)
        text += QStringLiteral("COM%1=%2\r\n").arg(i + 1).arg(ptys.at(i));
    ini.write(text.toLatin1());
    ini.close();

    QProcess search;
    search.start(zelctl, {"--json", "ports", "--probe"});
    QVERIFY(search.waitForFinished(20000));
    QCOMPARE(search.exitCode(), 0);
    const QJsonArray ports =
        QJsonDocument::fromJson(search.readAllStandardOutput()).object().value("ports").toArray();
    QCOMPARE(ports.size(), 16);
    const auto probeOf = [&ports](int index) {
        return ports.at(index).toObject().value("probe").toObject();
    };
    QCOMPARE(probeOf(0).value("answered").toBool(), true);
    QCOMPARE(probeOf(0).value("range").toString(), QString("+/- 250 Pa"));
    QVERIFY(!probeOf(0).value("address").toString().isEmpty());
    QVERIFY(probeOf(0).contains("variant"));
    QCOMPARE(probeOf(1).value("answered").toBool(), true);
    QCOMPARE(probeOf(1).value("range").toString(), QString("+/- 100 Pa"));
    QCOMPARE(probeOf(2).value("answered").toBool(), false);
    QCOMPARE(probeOf(2).value("reason").toString(), QString("no answer"));
    QCOMPARE(probeOf(3).value("answered").toBool(), false);
    QCOMPARE(probeOf(3).value("reason").toString(), QString("in use by another program"));
    // Never stolen: no probe query reached the held device, and its holder keeps measuring.
    const auto heldLines = [&heldLog] {
        QFile log(heldLog);
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    };
    QVERIFY2(!heldLines().contains("?DeviceAdr"), "the held port was probed");
    const int polls = heldLines().count("<- ?IP");
    QTRY_VERIFY_WITH_TIMEOUT(heldLines().count("<- ?IP") > polls, 10000);
    QCOMPARE(holder.state(), QProcess::Running);
    holder.terminate();
    QVERIFY(holder.waitForFinished(10000));

    // Every probed port was closed again: the window's own open of a probed device works.
    ZelctlResult r = runZelctl(ZELCTL_PATH, ptys.at(0), {"get", "WarnPup"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    for (QProcess &sim : sims) {
        sim.terminate();
        sim.waitForFinished(5000);
    }
}

QTEST_MAIN(TestDeviceServer)
#include "test_deviceserver.moc"

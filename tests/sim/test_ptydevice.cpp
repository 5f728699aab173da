#include "TermiosClient.h"

#include "sim/PtyDevice.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

using sim::FaultRule;
using sim::PtyDevice;
using Kind = FaultRule::Kind;
using End = TermiosClient::End;

class TestPtyDevice : public QObject {
    Q_OBJECT

private slots:
    void servesLinesOverTheTerminal();
    void keepsServingAcrossClientReopens();
    void replyFaults();
    void hangUpClosesTheTerminal();
    void logFileRecordsEveryExchange();
    void delaysAndWireTimeHoldRepliesBack();
    void stopEndsAWaitingReply();
    void servesQSerialPort();
};

namespace {

// One exchange the way the tool's port does it: clear, write, wait until the CR is in.
QByteArray serialExchange(QSerialPort &port, const QByteArray &line) {
    port.clear();
    port.write(line + '\r');
    port.waitForBytesWritten(1000);
    QByteArray reply;
    while (!reply.endsWith('\r')) {
        if (!port.waitForReadyRead(2000))
            return "<" + port.errorString().toLatin1() + ">";
        reply += port.readAll();
    }
    reply.chop(1);
    return reply;
}

} // namespace

void TestPtyDevice::servesLinesOverTheTerminal() {
    PtyDevice device;
    const QString path = device.start();
    QVERIFY(path.startsWith("/dev/pts/"));
    QCOMPARE(device.slavePath(), path);
    QVERIFY(device.isRunning());
    QCOMPARE(device.start(), path); // already running: same terminal

    TermiosClient client(path);
    QVERIFY(client.isOpen());
    // Raw terminal: the reply is the device's answer, not an echo of the command.
    QCOMPARE(client.exchange("?UnitP"), QByteArray("UnitP 0"));
    device.withModel([](sim::DeviceModel &m) {
        m.setNoiseEnabled(false);
        m.setAppliedPressure(12.34);
    });
    QCOMPARE(client.exchange("?IP"), QByteArray("IP 12.3"));

    // Two lines in one write, one with a stray LF: both answered, in order.
    QVERIFY(client.writeLine("?MeasRange\r\n>WarnPup 300"));
    QCOMPARE(client.readToCr().bytes, QByteArray("MeasRange 0"));
    QCOMPARE(client.readToCr().bytes, QByteArray("Err_ValRange"));

    const QStringList expected{"?UnitP", "?IP", "?MeasRange", ">WarnPup 300"};
    QCOMPARE(device.commandLog(), expected);
    QCOMPARE(device.commandCount(), 4);
    device.clearLog();
    QVERIFY(device.commandLog().isEmpty());
    QCOMPARE(device.commandCount(), 4);
    QCOMPARE(client.exchange(">MTeach"), QByteArray("MTeach 1"));
    QCOMPARE(device.commandLog(), QStringList{">MTeach"});
    bool teach = false;
    device.withModel([&](sim::DeviceModel &m) { teach = m.teachMode(); });
    QVERIFY(teach);
}

void TestPtyDevice::keepsServingAcrossClientReopens() {
    PtyDevice device(1);
    const QString path = device.start();
    for (int round = 0; round < 3; ++round) {
        TermiosClient client(path);
        QVERIFY(client.isOpen());
        QCOMPARE(client.exchange("?MeasRange"), QByteArray("MeasRange 1"));
    }
    // A command whose reply nobody reads, then a new client.
    {
        TermiosClient client(path);
        QVERIFY(client.writeLine("?UnitP"));
    }
    TermiosClient client(path);
    QByteArray reply = client.exchange("?ScalPup");
    if (reply == "UnitP 0") // the unread reply may still arrive after the new client's flush
        reply = client.readToCr().bytes;
    QCOMPARE(reply, QByteArray("ScalPup 100"));
    QVERIFY(device.isRunning());
}

void TestPtyDevice::replyFaults() {
    PtyDevice device;
    TermiosClient client(device.start());
    device.addFault(FaultRule::onCommand("?UnitP", Kind::Silence));
    device.addFault(FaultRule::onCommand(">WarnPup 150", Kind::Err));
    device.addFault(FaultRule::onCommand("?SignalP", Kind::Empty));
    device.addFault(FaultRule::onCommand("?Sound", Kind::NoCr));
    device.addFault(FaultRule::onCommand("?Lang", Kind::Garbage));
    device.addFault(FaultRule::onCommand("?RelAck", Kind::Flood));
    device.addFault(FaultRule::customReply("?FilterIN1", "Err_CmdNotExist"));

    client.writeLine("?UnitP");
    TermiosClient::Read r = client.readToCr(300);
    QCOMPARE(r.end, End::Timeout);
    QVERIFY(r.bytes.isEmpty());
    QCOMPARE(client.exchange("?UnitP"), QByteArray("UnitP 0"));

    QCOMPARE(client.exchange(">WarnPup 150"), QByteArray("Err"));
    bool untouched = false;
    device.withModel([&](sim::DeviceModel &m) { untouched = m.setting("WarnPup") == 200; });
    QVERIFY(untouched); // "Err": the command was not taken
    QCOMPARE(client.exchange(">WarnPup 150"), QByteArray("OK"));

    QCOMPARE(client.exchange("?SignalP"), QByteArray(""));
    QCOMPARE(client.exchange("?SignalP"), QByteArray("SignalP 1"));

    client.writeLine("?Sound");
    r = client.readToCr(300);
    QCOMPARE(r.end, End::Timeout);
    QCOMPARE(r.bytes, QByteArray("Sound 1"));

    client.writeLine("?Lang");
    r = client.readToCr();
    QCOMPARE(r.end, End::Cr);
    QCOMPARE(r.bytes, sim::FaultPlan::garbageBytes());

    client.writeLine("?RelAck");
    r = client.readToCr(500);
    QCOMPARE(r.end, End::Timeout);
    QVERIFY(r.bytes.size() > 1024);

    QCOMPARE(client.exchange("?FilterIN1"), QByteArray("Err_CmdNotExist"));
    QCOMPARE(client.exchange("?FilterIN1"), QByteArray("Err_CmdNotExist"));
    device.clearFaults();
    QCOMPARE(client.exchange("?FilterIN1"), QByteArray("FilterIN1 1000"));
    QCOMPARE(device.commandLog().count("?UnitP"), 2);
}

void TestPtyDevice::hangUpClosesTheTerminal() {
    PtyDevice device;
    const QString path = device.start();
    device.addFault(FaultRule::onCommandNumber(2, Kind::HangUp));
    TermiosClient client(path);
    QCOMPARE(client.exchange("?UnitP"), QByteArray("UnitP 0"));
    client.writeLine("RecallWE");
    const TermiosClient::Read r = client.readToCr(5000);
    QCOMPARE(r.end, End::HangUp);
    QVERIFY(device.hasHungUp());
    QVERIFY(!device.isRunning());
    QCOMPARE(device.commandLog(), (QStringList{"?UnitP", "RecallWE"}));

    // Plugged in again: a new terminal that serves (command numbers start over).
    device.clearFaults();
    const QString again = device.start();
    QVERIFY(device.isRunning());
    TermiosClient second(again);
    QVERIFY(second.isOpen());
    QCOMPARE(second.exchange("?MeasRange"), QByteArray("MeasRange 0"));
    QCOMPARE(device.commandCount(), 1);
}

void TestPtyDevice::logFileRecordsEveryExchange() {
    QTemporaryDir dir;
    const QString logPath = dir.filePath("zelsim.log");
    PtyDevice device;
    device.setLogFile(logPath);
    device.addFault(FaultRule::onCommand("?UnitP", Kind::Silence));
    device.addFault(FaultRule::onCommand("?Lang", Kind::Garbage));
    TermiosClient client(device.start());
    QCOMPARE(client.exchange("?MeasRange"), QByteArray("MeasRange 0"));
    client.writeLine("?UnitP");
    QCOMPARE(client.readToCr(200).end, End::Timeout);
    client.exchange("?Lang");
    device.stop();

    QFile file(logPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 7); // six lines and the empty rest after the last newline
    QVERIFY(lines[0].endsWith(" <- ?MeasRange"));
    QVERIFY(lines[1].endsWith(" -> MeasRange 0"));
    QVERIFY(lines[2].endsWith(" <- ?UnitP"));
    QVERIFY(lines[3].endsWith(" -> [silence]"));
    QVERIFY(lines[5].contains("\\x00"));
    const QDateTime stamp =
        QDateTime::fromString(QString::fromLatin1(lines[0].left(23)), Qt::ISODateWithMs);
    QVERIFY(stamp.isValid());

    QVERIFY_THROWS_EXCEPTION(std::runtime_error, device.setLogFile(dir.filePath("no/such/dir")));
}

// Lower bounds only: the device must not answer before its time.
void TestPtyDevice::delaysAndWireTimeHoldRepliesBack() {
    PtyDevice device;
    TermiosClient client(device.start());
    device.addFault(FaultRule::delayFrom(1, 150, 1));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(client.exchange("?UnitP"), QByteArray("UnitP 0"));
    QVERIFY(timer.elapsed() >= 150);

    device.setWireTime(true);
    timer.start();
    for (int i = 0; i < 5; ++i)
        QCOMPARE(client.exchange("?UnitP"), QByteArray("UnitP 0"));
    // Each exchange carries 7 characters out and 8 back.
    const qint64 boundNs = 5 * 15 * PtyDevice::CharTime.count();
    QVERIFY(timer.nsecsElapsed() >= boundNs);
}

void TestPtyDevice::stopEndsAWaitingReply() {
    PtyDevice device;
    TermiosClient client(device.start());
    device.addFault(FaultRule::delayFrom(1, 600000));
    client.writeLine("?UnitP");
    QTRY_COMPARE(device.commandCount(), 1);
    device.stop(); // must not wait out the ten minutes
    QVERIFY(!device.isRunning());
    QCOMPARE(client.readToCr(1000).end, End::HangUp);
}

void TestPtyDevice::servesQSerialPort() {
    PtyDevice device;
    const QString path = device.start();
    device.addFault(FaultRule::onCommand("MZ", Kind::HangUp));
    QSerialPort port;
    port.setPortName(path);
    port.setBaudRate(9600);
    for (int round = 0; round < 2; ++round) {
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        QCOMPARE(serialExchange(port, "?UnitP"), QByteArray("UnitP 0"));
        QCOMPARE(serialExchange(port, ">MTeach"),
                 round == 0 ? QByteArray("MTeach 1") : QByteArray("MTeach 0"));
        port.close();
    }
    QVERIFY(port.open(QIODevice::ReadWrite));
    port.write("MZ\r");
    port.waitForBytesWritten(1000);
    QVERIFY(!port.waitForReadyRead(5000) || port.readAll().isEmpty());
    QVERIFY(port.error() != QSerialPort::NoError);
    QVERIFY(device.hasHungUp());
}

QTEST_GUILESS_MAIN(TestPtyDevice)
#include "test_ptydevice.moc"

// The command exchange through the real serial code, against the simulator on a pseudo-terminal,
// and (where the window must be watched between attempts) against an in-process line.
#include "base/Errors.h"
#include "base/ToolSettings.h"
#include "link/CommandExchange.h"
#include "link/EComPort.h"
#include "link/NetSerialDriver.h"
#include "link/WireText.h"
#include "params/ParamTestSupport.h"
#include "sim/FaultRule.h"
#include "tests/support/ScriptedSerialDriver.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <optional>
#include <utility>

using sim::FaultRule;
using Kind = sim::FaultRule::Kind;

namespace {

const QString kExchangeFailed =
    QStringLiteral("Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80 (COM1)");

// The text of the exception a call throws, or "" when it returns.
template <class E, class F> QString failureOf(F &&call) {
    try {
        call();
    } catch (const E &error) {
        return error.message();
    }
    return QString();
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A device that answers every line in order, whenever the tool waits: each wait takes the next
// reply it still owes, unless the test gives that wait up (the user's abort) or the reply
// never comes (a silent line). The port may be closed and opened meanwhile; the device goes on.
class InOrderDevice : public SerialDriver {
public:
    struct Line {
        QStringList written;
        QList<std::optional<QByteArray>> owed; // replies not sent yet, in order; nullopt: none
        int waits = 0;
        bool giveUpNextWait = false;
        bool open = false;
        std::function<std::optional<QByteArray>(const QString &)> answer;
    };
    explicit InOrderDevice(std::shared_ptr<Line> line) : line_(std::move(line)) {}

    void open(const QString &) override { line_->open = true; }
    void close() override {
        line_->open = false;
        buffer_.clear();
    }
    bool isOpen() const override { return line_->open; }
    void setLineSettings(const LineSettings &) override {}
    void clear(bool input, bool) override {
        if (input)
            buffer_.clear();
    }
    void write(const QByteArray &data) override {
        const QString text = QString::fromLatin1(data).chopped(1);
        line_->written.append(text);
        line_->owed.append(line_->answer(text));
    }
    QByteArray read(int maxCount) override {
        const QByteArray out = buffer_.left(maxCount);
        buffer_.remove(0, out.size());
        return out;
    }
    bool waitForByte(char terminator, int, const WhileWaiting &whileWaiting) override {
        ++line_->waits;
        if (std::exchange(line_->giveUpNextWait, false)) {
            const bool ended = whileWaiting && whileWaiting();
            if (ended)
                return false;
        }
        if (!line_->owed.isEmpty()) {
            if (const std::optional<QByteArray> reply = line_->owed.takeFirst())
                buffer_ += *reply;
        }
        return buffer_.contains(terminator);
    }
    void setDtr(bool) override {}
    void setRts(bool) override {}

private:
    std::shared_ptr<Line> line_;
    QByteArray buffer_;
};

// Runs `step` every few milliseconds while the window works (the steps run inside its waits).
class Script {
public:
    explicit Script(std::function<void()> step) {
        QObject::connect(&timer_, &QTimer::timeout, std::move(step));
        timer_.start(5);
    }

private:
    QTimer timer_;
};

} // namespace

class TestExchange : public QObject {
    Q_OBJECT
private slots:
    void sendsOneLineAndReturnsTheReply() {
        WindowFixture fx;
        TformMain &w = fx.window();
        w.openPort();
        QCOMPARE(w.SendToCom(QStringLiteral("?UnitP")), QStringLiteral("UnitP 0"));
        const QString longCommand = QStringLiteral(">ScalPdown 1234567890123456789012345678901234");
        QCOMPARE(longCommand.size(), 45);
        w.SendToCom(longCommand);
        QCOMPARE(fx.commands().last(), longCommand.left(39));
        QCOMPARE(fx.commands().size(), 2);
        // A line with a control character never reaches the wire, whoever built it.
        QCOMPARE(failureOf<EUnsafeValue>([&] { w.SendToCom(QStringLiteral(">Lang 1\rReset")); }),
                 EUnsafeValue(QStringLiteral("Lang")).message());
        QCOMPARE(fx.commands().size(), 2);
    }

    void resendsOnExactlyErr() {
        WindowFixture fx;
        TformMain &w = fx.window();
        w.openPort();
        fx.device().addFault(FaultRule::onCommand("?UnitP", Kind::Err, 1));
        QCOMPARE(w.SendToCom(QStringLiteral("?UnitP")), QStringLiteral("UnitP 0"));
        QCOMPARE(fx.commands(), (QStringList{"?UnitP", "?UnitP"}));
        fx.device().addFault(FaultRule::customReply(">WarnPup 1", "Err_ValRange"));
        QCOMPARE(w.SendToCom(QStringLiteral(">WarnPup 1")), QStringLiteral("Err_ValRange"));
        QCOMPARE(fx.commands().size(), 3);
    }

    void silentDeviceFailsAfterTwoWaits() {
        WindowFixture fx;
        TformMain &w = fx.window();
        w.openPort();
        w.setStatus(QStringLiteral("before"));
        fx.device().addFault(FaultRule::onCommand("?UnitP", Kind::Silence, 1));
        QCOMPARE(w.SendToCom(QStringLiteral("?UnitP")), QStringLiteral("UnitP 0"));
        QCOMPARE(fx.status(), QStringLiteral("before")); // restored after the answer

        fx.device().addFault(FaultRule::onCommand("?UnitP", Kind::Silence, FaultRule::Always));
        QCOMPARE(failureOf<EGlobalError>([&] { w.SendToCom(QStringLiteral("?UnitP")); }),
                 kExchangeFailed);
        QCOMPARE(fx.status(), kExchangeFailed);

        w.state.language = 1;
        QCOMPARE(failureOf<EGlobalError>([&] { w.SendToCom(QStringLiteral("?UnitP")); }),
                 QStringLiteral("Error data exchange with ZEL 40 / ZEL 80 ... (COM1)"));
    }

    void showsTheConnectionProblemBetweenAttempts() {
        auto line = std::make_shared<ScriptedSerialDriver::Line>();
        WindowFixture fx;
        TformMain::Options options;
        options.executableDir = fx.dir();
        options.replyTimeoutMs = 10;
        options.prompts = std::make_shared<TestPrompts>();
        options.driver = std::make_unique<ScriptedSerialDriver>(line);
        TformMain w(std::move(options));
        QStringList statusAtWrite;
        int attempt = 0;
        line->respond = [&](const QString &) -> std::optional<QByteArray> {
            statusAtWrite.append(w.statusText());
            if (++attempt == 1)
                return std::nullopt;
            return QByteArray("OK\r");
        };
        w.openPort();
        w.setStatus(QStringLiteral("working"));
        QCOMPARE(w.SendToCom(QStringLiteral(">X")), QStringLiteral("OK"));
        QCOMPARE(statusAtWrite,
                 (QStringList{"working",
                              "Verbindungsproblem zum ZEL 40 / ZEL 80. Bitte warten ... (COM1)"}));
        QCOMPARE(w.statusText(), QStringLiteral("working"));

        // An empty reply is returned on the first attempt, but after a time-out it fails.
        attempt = 0;
        line->respond = [&](const QString &) -> std::optional<QByteArray> {
            return QByteArray("\r");
        };
        QCOMPARE(w.SendToCom(QStringLiteral(">X")), QString());
        line->respond = [&](const QString &) -> std::optional<QByteArray> {
            if (++attempt == 1)
                return std::nullopt;
            return QByteArray("\r");
        };
        QCOMPARE(failureOf<EGlobalError>([&] { w.SendToCom(QStringLiteral(">X")); }),
                 kExchangeFailed);
    }

    void abortEndsTheExchangeAfterItsAttempt() {
        WindowFixture fx;
        TformMain &w = fx.window();
        w.openPort();
        // The click on the abort button is handled while the exchange pumps messages.
        QTimer::singleShot(0, &w, [&w] { w.ButtonAbortConfigClick(); });
        QCOMPARE(failureOf<EGlobalError>([&] { w.SendToCom(QStringLiteral("?UnitP")); }),
                 QStringLiteral("Abbruch durch Benutzer"));
        QCOMPARE(fx.commands(), QStringList{"?UnitP"}); // the line was still sent and answered
    }

    // Waiting on the device never freezes the window: it paints, a handler clicked meanwhile is
    // held (and dropped when the action is aborted), the language switches at once, and the
    // abort or stop ends the wait at once.
    // A device server that accepts the connection but never takes up COM port control keeps the
    // port's open waiting up to the connect time-out (3 s); an abort must end that wait.
    void aDeviceServerThatKeepsSilentCanBeAborted() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString address = QStringLiteral("rfc2217://127.0.0.1:%1").arg(server.serverPort());
        {
            // The driver hands over in slices and stays closed once the hand-over says stop.
            NetSerialDriver driver;
            int turns = 0;
            driver.openWaiting(address, [&turns] { return ++turns == 3; });
            QCOMPARE(turns, 3);
            QVERIFY(!driver.isOpen());
            QTRY_VERIFY(server.hasPendingConnections());
            QTcpSocket *accepted = server.nextPendingConnection();
            QTRY_COMPARE(accepted->state(), QAbstractSocket::UnconnectedState);
        }
        // The window: the abort button ends the open with the abort's message, port closed.
        WindowFixture fx;
        ToolSettings(fx.dir()).writeString(QStringLiteral("Ports"), QStringLiteral("COM1"),
                                           address);
        fx.restart();
        TformMain &w = fx.window();
        QTimer::singleShot(0, &w, [&w] { w.ButtonAbortConfigClick(); });
        QCOMPARE(failureOf<EGlobalError>([&] { w.openPort(); }),
                 QStringLiteral("Abbruch durch Benutzer"));
        QVERIFY(!w.runner().port().connected());
    }

    void waitsKeepTheWindowAliveAndOnlyAbortsInterrupt() {
        WindowFixture::Config config;
        config.replyTimeoutMs = 30000; // only the abort can end these waits early
        WindowFixture fx(config);
        TformMain &w = fx.window();
        w.show();
        QStringList statuses;
        QObject::connect(w.Status, &QStatusBar::messageChanged,
                         [&](const QString &text) { statuses << text; });
        PaintCounter progressPaints(w.Progress);

        // A load from a device that answers nothing.
        fx.device().addFault(FaultRule::onCommandNumber(1, Kind::Silence, FaultRule::Always));
        int step = 0;
        int paintsBefore = 0;
        {
            Script script([&] {
                if (step == 0 && w.runner().waiting() && fx.commands().size() == 1) {
                    paintsBefore = progressPaints.paints;
                    w.Progress->update();
                    // Enabled during a load: the language switches inside the wait, texts shown
                    // later come in English; saving the configuration waits.
                    w.SpracheEng->trigger();
                    QCOMPARE(w.state.language, 1);
                    QCOMPARE(w.ButtonLaden->text(), QStringLiteral("Load from ZEL 40 / ZEL 80"));
                    w.SaveConf->trigger();
                    step = 1;
                } else if (step == 1 && progressPaints.paints > paintsBefore) {
                    QVERIFY(fx.prompts().fileDialogs.isEmpty());
                    QTest::mouseClick(w.ButtonAbortConfig, Qt::LeftButton);
                    step = 2;
                }
            });
            QTest::mouseClick(w.ButtonLaden, Qt::LeftButton);
        }
        QCOMPARE(step, 2); // the window painted during the wait
        QCOMPARE(fx.prompts().errors, QStringList{"Abort by user"});
        QCOMPARE(fx.status(), QStringLiteral("Abort by user"));
        // Ended by the abort, not by a time-out: no connection problem was ever shown.
        for (const QString &status : std::as_const(statuses))
            QVERIFY2(!status.startsWith("Verbindungsproblem"), qPrintable(status));
        QCOMPARE(fx.commands().size(), 1);
        // What was clicked during the aborted wait never runs.
        QTest::qWait(50);
        QVERIFY(fx.prompts().fileDialogs.isEmpty());
        ZEL_VERIFY_IDLE(fx);
    }

    // During a measurement a click during a slow poll runs after its reply; during a silent
    // poll the zeroing clicked is held, and the stop ends the wait and drops it.
    void clicksDuringAPollWaitForIt() {
        WindowFixture::Config config;
        config.replyTimeoutMs = 30000; // only the stop can end these waits early
        WindowFixture fx(config);
        TformMain &w = fx.window();
        QTest::mouseClick(fx.ctl<QPushButton>("ButtonConnection"), Qt::LeftButton);
        QVERIFY(w.measurementModeRuns());
        auto *log = fx.ctl<QListWidget>("LLog");
        fx.device().addFault(FaultRule::delayFrom(fx.device().commandCount() + 1, 300, 1));
        int step = 0;
        int pollCommands = 0;
        {
            Script script([&] {
                if (step == 0 && w.runner().waiting() && log->count() == 0 &&
                    fx.device().commandCount() > 0) {
                    log->addItem(QStringLiteral("marker"));
                    QTest::mouseClick(fx.ctl<QPushButton>("ButtonClearLog"), Qt::LeftButton);
                    QCOMPARE(log->count(), 1); // held while the poll waits
                    step = 1;
                } else if (step == 1 && !w.runner().waiting()) {
                    step = 2;
                } else if (step == 2 && log->findItems("marker", Qt::MatchExactly).isEmpty()) {
                    fx.device().addFault(
                        FaultRule::onCommandNumber(1, Kind::Silence, FaultRule::Always));
                    pollCommands = fx.device().commandCount();
                    step = 3;
                } else if (step == 3 && w.runner().waiting() &&
                           fx.device().commandCount() > pollCommands) {
                    QTest::mouseClick(fx.ctl<QPushButton>("ButtonNullieren"), Qt::LeftButton);
                    QTest::mouseClick(fx.ctl<QPushButton>("ButtonConnection"), Qt::LeftButton);
                    step = 4;
                }
            });
            QTRY_VERIFY_WITH_TIMEOUT(!fx.prompts().errors.isEmpty(), 20000);
        }
        QCOMPARE(step, 4);
        QCOMPARE(fx.prompts().errors, QStringList{"Abbruch durch Benutzer"});
        QVERIFY(!w.measurementModeRuns());
        QTest::qWait(50);
        // Only the poll's line reached the device: the zeroing never ran.
        QCOMPARE(fx.device().commandCount(), pollCommands + 1);
        ZEL_VERIFY_IDLE(fx);
    }

    // A reply given up by an abort is still sent by the device. It is taken and dropped before
    // the next line goes out (in the same or a later action, after a close and reopen), so no
    // later line takes it for its own; a silent line is waited for only until its time-out.
    void anOwedReplyNeverAnswersALaterLine() {
        auto line = std::make_shared<InOrderDevice::Line>();
        line->answer = [](const QString &text) -> QByteArray {
            if (text.startsWith(QLatin1Char('>')))
                return "OK\r";
            return text.mid(1).toLatin1() + " 7\r";
        };
        TComPort port(std::make_unique<InOrderDevice>(line));
        bool abort = false;
        QStringList statuses;
        CommandExchange::Hooks hooks;
        hooks.pumpMessages = [] {};
        hooks.abortRequested = [&abort] { return abort; };
        hooks.statusText = [] { return QStringLiteral("status"); };
        hooks.setStatus = [&statuses](const QString &text) { statuses << text; };
        hooks.message = [](CatalogueEntry entry) { return QString::number(int(entry)); };
        CommandExchange exchange(port, hooks, 60000);
        port.open();
        const auto abortNextWait = [&] {
            line->giveUpNextWait = true;
            abort = true;
        };

        // Aborted, then the next line of a load: it gets its own reply.
        abortNextWait();
        QCOMPARE(failureOf<EGlobalError>([&] { exchange.send(QStringLiteral("?ScalIN1Tdown")); }),
                 QStringLiteral("36"));
        QVERIFY(exchange.replyOwed());
        abort = false;
        QCOMPARE(exchange.send(QStringLiteral("?ScalIN1Tup")), QStringLiteral("ScalIN1Tup 7"));
        QVERIFY(!exchange.replyOwed());

        // A late "OK" of a send never acknowledges the next setting, also after the port was
        // closed and opened again; a refusal stays with the setting refused.
        line->answer = [](const QString &text) -> QByteArray {
            return text.startsWith(QStringLiteral(">WarnPup")) ? "Err_ValRange\r" : "OK\r";
        };
        abortNextWait();
        QVERIFY(!failureOf<EGlobalError>([&] {
                     exchange.send(QStringLiteral(">WarnPdown 1"));
                 }).isEmpty());
        abort = false;
        port.close();
        port.open();
        QCOMPARE(exchange.send(QStringLiteral(">WarnPup 9999")), QStringLiteral("Err_ValRange"));
        QCOMPARE(exchange.send(QStringLiteral(">WarnPhyst 5")), QStringLiteral("OK"));

        // An abort while the owed reply is awaited ends the new exchange before its line goes
        // out; the reply stays owed and is dropped before the next line.
        abortNextWait();
        QVERIFY(!failureOf<EGlobalError>([&] {
                     exchange.send(QStringLiteral(">RelAck 1"));
                 }).isEmpty());
        const int writtenBefore = line->written.size();
        abortNextWait();
        QCOMPARE(failureOf<EGlobalError>([&] { exchange.send(QStringLiteral(">Sound 1")); }),
                 QStringLiteral("36"));
        QCOMPARE(line->written.size(), writtenBefore);
        QVERIFY(exchange.replyOwed());
        abort = false;
        QCOMPARE(exchange.send(QStringLiteral(">Sound 1")), QStringLiteral("OK"));

        // A reply that never comes is given up at its time-out: the next line is not held
        // beyond it, and no failure or status is counted for it.
        line->answer = [](const QString &) -> std::optional<QByteArray> { return std::nullopt; };
        abortNextWait();
        QVERIFY(
            !failureOf<EGlobalError>([&] { exchange.send(QStringLiteral("?UnitP")); }).isEmpty());
        abort = false;
        line->answer = [](const QString &) -> QByteArray { return "UnitP 2\r"; };
        statuses.clear();
        QCOMPARE(exchange.send(QStringLiteral("?UnitP")), QStringLiteral("UnitP 2"));
        QCOMPARE(statuses, QStringList{"status"});
        QVERIFY(!exchange.replyOwed());
    }

    // Abort, then at once the next action, as a user does: the reply the device still owes is
    // taken by neither the next load nor the next measurement, and nothing touches the port
    // after the failure handling closed it.
    void theNextActionAfterAnAbortGetsItsOwnReplies() {
        WindowFixture::Config config;
        config.replyTimeoutMs = 3000;
        WindowFixture fx(config);
        TformMain &w = fx.window();
        const auto slow = [](const char *command) {
            FaultRule rule = FaultRule::onCommand(command, Kind::Delay);
            rule.delayMs = 200;
            return rule;
        };
        const auto waitingFor = [&](const QString &command) {
            return w.runner().waiting() && !fx.commands().isEmpty() &&
                   fx.commands().last() == command;
        };
        bool aborted = false;
        fx.device().addFault(slow("?ScalIN1Tdown"));
        {
            Script script([&] {
                if (!aborted && waitingFor(QStringLiteral("?ScalIN1Tdown"))) {
                    aborted = true;
                    QTest::mouseClick(w.ButtonAbortConfig, Qt::LeftButton);
                }
            });
            QTest::mouseClick(w.ButtonLaden, Qt::LeftButton);
        }
        QVERIFY(aborted);
        QCOMPARE(fx.prompts().errors, QStringList{"Abbruch durch Benutzer"});
        QTest::mouseClick(w.ButtonLaden, Qt::LeftButton);
        QCOMPARE(fx.prompts().errors, QStringList{"Abbruch durch Benutzer"});
        QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich geladen"));
        w.openPort();
        const QString deviceValue = w.SendToCom(QStringLiteral("?ScalIN1Tdown"));
        w.closePort();
        QVERIFY2(deviceValue.startsWith(QStringLiteral("ScalIN1Tdown ")), qPrintable(deviceValue));
        QCOMPARE(fx.ctl<QLineEdit>("ScalIN1Tdown")->text().toDouble(),
                 deviceValue.section(QLatin1Char(' '), 1).toDouble());

        // A measurement stopped while a poll waits, and started again at once.
        bool stopped = false;
        fx.device().addFault(slow("?IP"));
        Script stopper([&] {
            if (!stopped && w.measurementModeRuns() && waitingFor(QStringLiteral("?IP"))) {
                stopped = true;
                QTest::mouseClick(fx.ctl<QPushButton>("ButtonConnection"), Qt::LeftButton);
            }
        });
        QTest::mouseClick(fx.ctl<QPushButton>("ButtonConnection"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(stopped && !w.runner().waiting(), 20000);
        QCOMPARE(fx.prompts().errors, QStringList(2, "Abbruch durch Benutzer"));
        QTest::mouseClick(fx.ctl<QPushButton>("ButtonConnection"), Qt::LeftButton);
        QVERIFY(w.measurementModeRuns());
        const int polled = fx.commands().count(QStringLiteral("?IP"));
        QTRY_VERIFY_WITH_TIMEOUT(
            fx.commands().count(QStringLiteral("?IP")) > polled && !w.runner().waiting(), 20000);
        QVERIFY(w.measurementModeRuns());
        QTest::mouseClick(fx.ctl<QPushButton>("ButtonConnection"), Qt::LeftButton);
        QTest::qWait(50);
        QCOMPARE(fx.prompts().errors, QStringList(2, "Abbruch durch Benutzer"));
        QVERIFY(!w.measurementModeRuns());
        QVERIFY(!w.ComPort().connected());
        QVERIFY(w.ButtonLaden->isEnabled());
    }

    void progressStepsOnlyAfterSuccess() {
        WindowFixture fx;
        TformMain &w = fx.window();
        w.openPort();
        w.Progress->setMaximum(10);
        fx.device().addFault(FaultRule::customReply("?Sound", "Err_CmdNotExist"));
        w.SendSpToCom(QStringLiteral("?UnitP"));
        w.SendSpToCom(QStringLiteral("?Sound"));
        QCOMPARE(w.Progress->value(), 2);
        fx.device().addFault(FaultRule::onCommand("?UnitP", Kind::Silence, FaultRule::Always));
        QVERIFY(
            !failureOf<EGlobalError>([&] { w.SendSpToCom(QStringLiteral("?UnitP")); }).isEmpty());
        QCOMPARE(w.Progress->value(), 2);
    }

    void badRepliesEndInAReplyOrAFailure() {
        WindowFixture fx;
        TformMain &w = fx.window();
        w.openPort();
        fx.device().addFault(FaultRule::onCommand("?UnitP", Kind::Garbage, 1));
        const QString garbage = w.SendToCom(QStringLiteral("?UnitP"));
        QVERIFY(!garbage.isEmpty());
        QVERIFY(!garbage.contains(QLatin1Char('\r')));
        for (Kind kind : {Kind::NoCr, Kind::Flood}) {
            fx.device().addFault(FaultRule::onCommand("?UnitP", kind, FaultRule::Always));
            QCOMPARE(failureOf<EGlobalError>([&] { w.SendToCom(QStringLiteral("?UnitP")); }),
                     kExchangeFailed);
            fx.device().clearFaults();
        }
        // Without an abort control, "Err" forever ends after a bound.
        fx.device().addFault(FaultRule::onCommand("MZ", Kind::Err, FaultRule::Always));
        QCOMPARE(failureOf<EGlobalError>([&] { w.SendToComUnabortable(QStringLiteral("MZ")); }),
                 kExchangeFailed);
        QCOMPARE(fx.commands().count(QStringLiteral("MZ")), CommandExchange::kUnabortableErrLimit);
    }

    void portFailuresRaiseEComPort() {
        WindowFixture fx;
        TformMain &w = fx.window();
        w.openPort();
        fx.device().addFault(FaultRule::onCommand("?UnitP", Kind::HangUp, 1));
        const QString hangUp = failureOf<EComPort>([&] { w.SendToCom(QStringLiteral("?UnitP")); });
        QVERIFY2(hangUp.contains(QStringLiteral("(win error code: ")), qPrintable(hangUp));
        w.closePort();

        WindowFixture::Config config;
        config.startDevice = false;
        WindowFixture missing(config);
        const QString open = failureOf<EComPort>([&] { missing.window().openPort(); });
        // The text of the design first, then which port was tried and why it failed.
        QCOMPARE(open, QStringLiteral("Unable to open com port (win error code: 2): COM1 → %1: "
                                      "No such file or directory")
                           .arg(missing.dir() + "/no-such-tty"));
        QVERIFY(!missing.window().ComPort().connected());
    }

    void portNamesAreNormalised() {
        QCOMPARE(TComPort::normalizeName(QStringLiteral("com3")), QStringLiteral("COM3"));
        for (const char *bad : {"COM17", "COMx", "", "COM0", "COM-2", "16x"})
            QCOMPARE(TComPort::normalizeName(QString::fromLatin1(bad)), QStringLiteral("COM1"));
        QCOMPARE(TComPort::normalizeName(QStringLiteral("16")), QStringLiteral("COM16"));
        QCOMPARE(TComPort::defaultDevice(QStringLiteral("COM3")), QStringLiteral("/dev/ttyS2"));
        TComPort port(
            std::make_unique<ScriptedSerialDriver>(std::make_shared<ScriptedSerialDriver::Line>()));
        port.setBindings({{QStringLiteral("com2"), QStringLiteral("/dev/ttyUSB0")}});
        port.setPort(QStringLiteral("Com2"));
        QCOMPARE(port.devicePath(), QStringLiteral("/dev/ttyUSB0"));
    }
};

ZEL_TEST_MAIN(TestExchange)
#include "test_exchange.moc"

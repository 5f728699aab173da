// The command exchange through the real serial code, against the simulator on a pseudo-terminal,
// and (where the window must be watched between attempts) against an in-process line.
#include "app/Errors.h"
#include "link/CommandExchange.h"
#include "link/EComPort.h"
#include "link/WireText.h"
#include "sim/FaultRule.h"
#include "tests/support/ScriptedSerialDriver.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QProgressBar>
#include <QTimer>

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

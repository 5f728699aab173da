// Zeroing and device reset against the simulator, with and without a running measurement.
#include "MeasureTestSupport.h"
#include "base/Waits.h"
#include "tests/support/TestMain.h"

#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace measuretest;

namespace {

// The intervals of the waits (Delay) that ran to their end, in order.
class WaitRecorder {
public:
    explicit WaitRecorder(TformMain &window) {
        connection_ = QObject::connect(&window.waits(), &Waits::completed, &window.waits(),
                                       [this](int ms) { intervals.append(ms); });
    }
    ~WaitRecorder() { QObject::disconnect(connection_); }
    QList<int> intervals;

private:
    QMetaObject::Connection connection_;
};

// What the window looked like inside the action's first wait.
struct DuringAction {
    bool seen = false;
    bool portOpen = false;
    bool timerActive = true;
    bool zeroEnabled = true;
    bool menusEnabled = true;
    bool connectionEnabled = false;
    QString status;
    QStringList commands;
    bool startedMeasurement = false;
};

void watchFirstWait(WindowFixture &fx, DuringAction &during) {
    QTimer::singleShot(0, &fx.window(), [&fx, &during] {
        TformMain &w = fx.window();
        during.seen = true;
        during.portOpen = w.ComPort().connected();
        during.timerActive = w.TimerMessung->isActive();
        during.zeroEnabled = fx.ctl<QPushButton>("ButtonNullieren")->isEnabled();
        during.menusEnabled = w.MEinstellungen->isEnabled();
        during.connectionEnabled = fx.ctl<QPushButton>("ButtonConnection")->isEnabled();
        during.status = fx.status();
        during.commands = fx.commands();
        // Without a measurement, a click on its button must not start one inside the action.
        if (!w.state.measurementRunning) {
            fx.click("ButtonConnection");
            during.startedMeasurement = w.state.measurementRunning || w.TimerMessung->isActive();
        }
    });
}

} // namespace

class TestZeroReset : public QObject {
    Q_OBJECT

private slots:
    void zeroingWithoutMeasurementOpensAndClosesThePort() {
        WindowFixture fx;
        TformMain &w = fx.window();
        QVERIFY(!w.ComPort().connected());
        WaitRecorder waits(w);
        DuringAction during;
        watchFirstWait(fx, during);
        fx.device().clearLog();
        fx.click("ButtonNullieren");
        QVERIFY(fx.prompts().errors.isEmpty());
        QVERIFY(during.seen);
        QVERIFY(during.portOpen);
        QVERIFY(during.commands.isEmpty()); // "MZ" comes after the 1 s wait
        QVERIFY(!during.zeroEnabled);
        QVERIFY(!during.menusEnabled);
        // No second device action can start: the measurement button waits for the zeroing.
        QVERIFY(!during.connectionEnabled);
        QVERIFY(!during.startedMeasurement);
        QCOMPARE(during.status, QStringLiteral("ZEL 40 / ZEL 80 wird nulliert ... (COM1)"));
        QCOMPARE(waits.intervals, QList<int>({10, 50})); // 1000 and 5000 ms, scaled
        QCOMPARE(fx.commands(), QStringList{"MZ"});
        QVERIFY(!w.ComPort().connected());
        QCOMPARE(fx.status(), QStringLiteral("Nullierung abgeschlossen"));
        QVERIFY(w.MEinstellungen->isEnabled());
        QVERIFY(w.MExtras->isEnabled());
        QVERIFY(w.ButtonLaden->isEnabled());
        QVERIFY(w.WarnwerteSheet->isEnabled());
        QVERIFY(!w.ButtonAbortConfig->isEnabled());
        for (const char *name : {"ButtonNullieren", "ButtonReset", "ButtonCalibPlus",
                                 "ButtonCalibMinus", "ButtonCalibCancel"})
            QVERIFY(fx.ctl<QPushButton>(QString::fromLatin1(name))->isEnabled());
        QVERIFY(!w.TimerMessung->isActive());
    }

    void zeroingDuringMeasurementPausesThePolling() {
        WindowFixture fx;
        TformMain &w = fx.window();
        fx.click("ButtonConnection");
        for (const char *value : {"1.5", "2.5", "3.5"}) {
            replyOnce(fx, "?IP", QByteArray("IP ") + value);
            tick(fx);
        }
        const int index = measurement(fx).historyIndex();
        QCOMPARE(index, 3);
        WaitRecorder waits(w);
        DuringAction during;
        watchFirstWait(fx, during);
        fx.device().clearLog();
        fx.click("ButtonNullieren");
        QVERIFY(fx.prompts().errors.isEmpty());
        // The polling is paused; "MZ" goes out at once, with only the 5 s wait after it.
        QVERIFY(during.seen);
        QVERIFY(!during.timerActive);
        QVERIFY(!during.zeroEnabled);
        QCOMPARE(waits.intervals, QList<int>{50});
        QCOMPARE(fx.commands(), QStringList{"MZ"});
        QCOMPARE(fx.status(), QStringLiteral("Nullierung abgeschlossen"));
        // The measurement goes on with its port, locks and history.
        QVERIFY(w.TimerMessung->isActive());
        QVERIFY(w.ComPort().connected());
        QVERIFY(w.state.measurementRunning);
        QVERIFY(!w.MEinstellungen->isEnabled());
        QVERIFY(!w.ButtonLaden->isEnabled());
        QVERIFY(!w.EinstellungenSheet->isEnabled());
        QVERIFY(fx.ctl<QPushButton>("ButtonNullieren")->isEnabled());
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung stoppen"));
        QCOMPARE(measurement(fx).historyIndex(), index);
        replyOnce(fx, "?IP", "IP 4.5");
        tick(fx);
        const ChannelHistory &h = measurement(fx).history(kChannelPressure);
        QCOMPARE(h.at(0).value, 1.5);
        QCOMPARE(h.at(2).value, 3.5);
        QCOMPARE(h.at(3).value, 4.5);
        QCOMPARE(measurement(fx).historyIndex(), index + 1);
    }

    void resetRestartsTheDevice() {
        WindowFixture fx;
        fx.window().SpracheEngClick();
        DuringAction during;
        watchFirstWait(fx, during);
        fx.click("ButtonReset");
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(during.status, QStringLiteral("Reset ZEL 40 / ZEL 80 ... (COM1)"));
        QCOMPARE(fx.commands().last(), QStringLiteral("Reset"));
        int resets = 0;
        fx.device().withModel([&](sim::DeviceModel &m) { resets = m.resetCount(); });
        QCOMPARE(resets, 1);
        QCOMPARE(fx.status(), QStringLiteral("Reset finished"));
        QVERIFY(!fx.window().ComPort().connected());
    }

    void endlessErrWithoutMeasurementIsBounded() {
        WindowFixture fx;
        fx.device().addFault(
            sim::FaultRule::onCommand("MZ", sim::FaultRule::Kind::Err, sim::FaultRule::Always));
        fx.click("ButtonNullieren");
        QCOMPARE(fx.prompts().errors,
                 QStringList{"Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80 (COM1)"});
        QCOMPARE(fx.commands().count(QStringLiteral("MZ")), 100);
        QVERIFY(!fx.window().ComPort().connected());
        QVERIFY(fx.ctl<QPushButton>("ButtonNullieren")->isEnabled());
        QVERIFY(fx.window().MEinstellungen->isEnabled());
    }

    void errOnceIsResent() {
        WindowFixture fx;
        fx.device().addFault(sim::FaultRule::onCommand("MZ", sim::FaultRule::Kind::Err, 1));
        fx.device().clearLog();
        fx.click("ButtonNullieren");
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.commands(), QStringList({"MZ", "MZ"}));
        QCOMPARE(fx.status(), QStringLiteral("Nullierung abgeschlossen"));
    }

    void linkFailureDuringMeasurementEndsIt() {
        WindowFixture fx;
        fx.click("ButtonConnection");
        tick(fx);
        fx.device().addFault(sim::FaultRule::onCommand("MZ", sim::FaultRule::Kind::Silence, 2));
        fx.click("ButtonNullieren");
        QCOMPARE(fx.prompts().errors,
                 QStringList{"Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80 (COM1)"});
        TformMain &w = fx.window();
        QVERIFY(!w.state.measurementRunning);
        QVERIFY(!w.TimerMessung->isActive());
        QVERIFY(!w.ComPort().connected());
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung starten"));
        QCOMPARE(fx.status(),
                 QStringLiteral("Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80 (COM1)"));
        QVERIFY(fx.ctl<QPushButton>("ButtonReset")->isEnabled());
    }

    // A stop while the device zeroes or restarts ends the measurement, but the device still gets
    // its whole time before the action ends and the next one may talk to it.
    void stopDuringTheFinishWaitLeavesTheDeviceItsTime() {
        const struct {
            const char *button, *command, *endText;
        } cases[] = {{"ButtonNullieren", "MZ", "Nullierung abgeschlossen"},
                     {"ButtonReset", "Reset", "Reset abgeschlossen"}};
        for (const auto &c : cases) {
            WindowFixture fx;
            TformMain &w = fx.window();
            fx.click("ButtonConnection");
            WaitRecorder waits(w);
            // Stopped while the action waits for the device to finish.
            QTimer watcher;
            bool stopped = false;
            QObject::connect(&watcher, &QTimer::timeout, &w, [&] {
                if (!stopped && w.PauseTimer->isActive() && fx.commands().contains(c.command)) {
                    stopped = true;
                    fx.click("ButtonConnection");
                    QVERIFY(!w.state.measurementRunning);
                    QVERIFY(w.ComPort().connected()); // the action still holds it
                }
            });
            watcher.start(0);
            fx.click(c.button);
            watcher.stop();
            QVERIFY(stopped);
            // The finish wait (5000 ms, scaled by the fixture) ran its whole time.
            QCOMPARE(waits.intervals, QList<int>{int(5000 * 0.01)});
            QVERIFY(fx.prompts().errors.isEmpty());
            QCOMPARE(fx.status(), QString::fromLatin1(c.endText));
            QVERIFY(!w.TimerMessung->isActive());
            QVERIFY(!w.ComPort().connected());
            QVERIFY(w.MEinstellungen->isEnabled());
            QVERIFY(w.ButtonLaden->isEnabled());
            QVERIFY(fx.ctl<QPushButton>("ButtonNullieren")->isEnabled());
        }
    }

    void stopDuringTheZeroingExchangeAbortsIt() {
        WindowFixture fx;
        TformMain &w = fx.window();
        fx.click("ButtonConnection");
        bool portOpenAfterStop = false;
        QTimer::singleShot(0, &w, [&] {
            fx.click("ButtonConnection");
            portOpenAfterStop = w.ComPort().connected();
        });
        fx.click("ButtonNullieren");
        QVERIFY(portOpenAfterStop);
        QCOMPARE(fx.prompts().errors, QStringList{"Abbruch durch Benutzer"});
        QVERIFY(!w.ComPort().connected());
        QVERIFY(fx.ctl<QPushButton>("ButtonNullieren")->isEnabled());
    }
};

ZEL_TEST_MAIN(TestZeroReset)
#include "test_zeroreset.moc"

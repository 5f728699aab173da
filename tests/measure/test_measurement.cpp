// The measurement mode end to end against the simulator: start queries, polling, display,
// log cadence, history, stop (also during a poll) and bad replies.
#include "MeasureTestSupport.h"
#include "params/SettingsModel.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>

using namespace measuretest;

class TestMeasurement : public QObject {
    Q_OBJECT

private slots:
    void startAsksTheDeviceInOrder() {
        WindowFixture fx;
        TformMain &w = fx.window();
        fx.ctl<QListWidget>("LLog")->addItem("from before");
        fx.device().clearLog();
        fx.click("ButtonConnection");
        QVERIFY(fx.prompts().errors.isEmpty());
        const QStringList expected = {"?ExtPress",     "?UnitP",        "?UnitIN1",    "?UnitIN2",
                                      "?MeasRange",    "?ScalIN1Tdown", "?ScalIN1Tup", "?SignalIN1",
                                      "?ScalIN2Hdown", "?ScalIN2Hup",   "?SignalIN2"};
        QCOMPARE(fx.commands(), expected);
        QVERIFY(w.state.measurementRunning);
        QVERIFY(w.TimerMessung->isActive());
        QVERIFY(w.ComPort().connected());
        QVERIFY(!w.runner().abortRequested());
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung stoppen"));
        QCOMPARE(fx.status(), QStringLiteral("Verbunden mit ZEL 40 / ZEL 80 ... (COM1)"));
        QCOMPARE(fx.ctl<QListWidget>("LLog")->count(), 0);
        QCOMPARE(w.Progress->maximum(), 1);
        QCOMPARE(measurement(fx).historyIndex(), 0);
        QCOMPARE(measurement(fx).tickCounter(), 1);
        // Settings and transfers are locked, the "Messwerte" page stays usable.
        QVERIFY(!w.MEinstellungen->isEnabled());
        QVERIFY(!w.MExtras->isEnabled());
        for (QPushButton *b :
             {w.ButtonLaden, w.ButtonSenden, w.ButtonWE100Pa, w.ButtonWE250Pa, w.ButtonAbortConfig})
            QVERIFY(!b->isEnabled());
        for (QWidget *sheet :
             {w.SkalierungswerteSheet, w.WarnwerteSheet, w.EinstellungenSheet, w.TeachZELSheet})
            QVERIFY(!sheet->isEnabled());
        QVERIFY(w.StatusSheet->isEnabled());
        QVERIFY(fx.ctl<QPushButton>("ButtonNullieren")->isEnabled());
        // The factory settings of the 250 Pa variant arrived in the controls.
        QCOMPARE(fx.ctl<QComboBox>("ExtPress")->currentIndex(), 0);
        QCOMPARE(fx.ctl<QComboBox>("UnitP")->currentIndex(), 0);
        QCOMPARE(fx.ctl<QComboBox>("MeasRange1")->currentIndex(), 0);
        QCOMPARE(fx.ctl<QComboBox>("MeasRange2")->currentIndex(), 0);
        QCOMPARE(fx.ctl<QComboBox>("SignalIN1")->currentIndex(), 1);
        QCOMPARE(fx.ctl<QLineEdit>("ScalIN1Tup")->text(), QStringLiteral("50"));
        QCOMPARE(fx.ctl<QLineEdit>("ScalIN2Hup")->text(), QStringLiteral("100"));
        QCOMPARE(measurement(fx).configuredRange(kChannelPressure).lower, -250.0);
        QCOMPARE(measurement(fx).configuredRange(kChannelPressure).upper, 250.0);
        QCOMPARE(measurement(fx).currentRange(kChannelIN1).upper,
                 measurement(fx).configuredRange(kChannelIN1).upper);
    }

    void startFollowsExtPressAndUnitCodes() {
        WindowFixture::Config variant100;
        variant100.measRange = 1;
        WindowFixture fx(variant100);
        setDevice(fx, "ExtPress", 1); // pressure at IN-2 only
        setDevice(fx, "UnitP", 2);
        setDevice(fx, "UnitIN1", 3); // off, coded 3 on a temperature input
        setDevice(fx, "UnitIN2", 1);
        setDevice(fx, "ScalIN2Pdown", -500.5);
        setDevice(fx, "ScalIN2Pup", 1500);
        setDevice(fx, "SignalIN2", 0);
        fx.window().state.decimalSeparator = QLatin1Char(',');
        fx.device().clearLog();
        fx.click("ButtonConnection");
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.commands().mid(5, 6),
                 QStringList({"?ScalIN1Tdown", "?ScalIN1Tup", "?SignalIN1", "?ScalIN2Pdown",
                              "?ScalIN2Pup", "?SignalIN2"}));
        QCOMPARE(fx.window().settings().unitListMode(), 1);
        auto *in1 = fx.ctl<QComboBox>("UnitIN1");
        QCOMPARE(in1->count(), 2);
        QCOMPARE(in1->itemText(0), QStringLiteral("°C"));
        QCOMPARE(in1->currentIndex(), 1);
        auto *in2 = fx.ctl<QComboBox>("UnitIN2");
        QCOMPARE(in2->count(), 4);
        QCOMPARE(in2->itemText(3), QStringLiteral("aus"));
        QCOMPARE(in2->currentText(), QStringLiteral("hPa"));
        QCOMPARE(fx.ctl<QComboBox>("MeasRange2")->currentIndex(), 1);
        QCOMPARE(fx.ctl<QLineEdit>("ScalIN2Pdown")->text(), QStringLiteral("-500,5"));
        // +-120 Pa shown in mbar; IN-2 in hPa, widened to 21 mA.
        QCOMPARE(measurement(fx).configuredRange(kChannelPressure).upper, 1.2);
        QCOMPARE(measurement(fx).configuredRange(kChannelIN2).lower, -5.005);
        QCOMPARE(measurement(fx).configuredRange(kChannelIN2).upper, (21 * 15.0 + 5.005) / 20);

        // Only IN-2 and the pressure are polled.
        fx.device().clearLog();
        tick(fx);
        QCOMPARE(fx.commands(), QStringList({"?IP", "?IN2"}));
    }

    void signalOverRangeWidensTheInputRanges() {
        WindowFixture fx;
        setDevice(fx, "ScalIN1Tdown", 0);
        setDevice(fx, "ScalIN1Tup", 100);
        setDevice(fx, "SignalIN1", 1); // 4 - 20 mA
        setDevice(fx, "SignalIN2", 2); // 0 - 10 V
        fx.click("ButtonConnection");
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(measurement(fx).configuredRange(kChannelIN1).lower, -6.25);
        QCOMPARE(measurement(fx).configuredRange(kChannelIN1).upper, 106.640625);
        QCOMPARE(measurement(fx).configuredRange(kChannelIN2).lower, 0.0);
        QCOMPARE(measurement(fx).configuredRange(kChannelIN2).upper, 110.0);
    }

    void badStartReplyEndsTheStart() {
        WindowFixture fx;
        fx.device().addFault(sim::FaultRule::customReply("?UnitP", "Err_CmdNotExist"));
        fx.click("ButtonConnection");
        QCOMPARE(fx.prompts().errors,
                 QStringList{"'Err_CmdNotExist' ist kein gültiger Integerwert"});
        TformMain &w = fx.window();
        QVERIFY(!w.state.measurementRunning);
        QVERIFY(!w.TimerMessung->isActive());
        QVERIFY(!w.ComPort().connected());
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung starten"));
        QVERIFY(w.MEinstellungen->isEnabled());
        QVERIFY(w.SkalierungswerteSheet->isEnabled());
    }

    void pollShowsValuesInLabelsAndTitle() {
        WindowFixture fx;
        fx.window().state.decimalSeparator = QLatin1Char(',');
        fx.click("ButtonConnection");
        replyOnce(fx, "?IP", "IP 12.345");
        replyOnce(fx, "?IN1", "IN1 21.55");
        replyOnce(fx, "?IN2", "Err_Underflow");
        tick(fx);
        QCOMPARE(fx.ctl<QLabel>("IntDruck")->text(), QStringLiteral("12,3 Pa"));
        QCOMPARE(fx.ctl<QLabel>("Temperatur")->text(), QStringLiteral("21,6 °C"));
        QCOMPARE(fx.ctl<QLabel>("Feuchte")->text(), QStringLiteral("UNDERFLOW"));
        QCOMPARE(fx.window().windowTitle(), QStringLiteral("ZEL -   12,3 Pa"));
        QCOMPARE(measurement(fx).history(kChannelIN2).at(0).state, PointState::Underflow);

        // English shows the point; hecto units three decimals.
        fx.window().SpracheEngClick();
        setDevice(fx, "UnitP", 1);
        fx.click("ButtonConnection"); // stop
        fx.click("ButtonConnection"); // start: reads UnitP = hPa
        QVERIFY(fx.prompts().errors.isEmpty());
        replyOnce(fx, "?IP", "IP 1.23456");
        replyOnce(fx, "?IN2", "IN2 55.56");
        tick(fx);
        QCOMPARE(fx.ctl<QLabel>("IntDruck")->text(), QStringLiteral("1.235 hPa"));
        QCOMPARE(fx.ctl<QLabel>("Feuchte")->text(), QStringLiteral("55.6 %rH"));
        QCOMPARE(fx.window().windowTitle(), QStringLiteral("ZEL -   1.235 hPa"));
    }

    void overflowShowsInLabelAndTitle() {
        WindowFixture fx;
        fx.click("ButtonConnection");
        fx.device().withModel([](sim::DeviceModel &m) { m.setAppliedPressure(1000); });
        tick(fx);
        QCOMPARE(fx.ctl<QLabel>("IntDruck")->text(), QStringLiteral("OVERFLOW"));
        QCOMPARE(fx.window().windowTitle(), QStringLiteral("ZEL -   OVERFLOW"));
        QCOMPARE(measurement(fx).history(kChannelPressure).at(0).state, PointState::Overflow);
        QVERIFY(fx.ctl<QListWidget>("LLog")->item(0)->text().contains("; OVERFLOW; "));
    }

    void pressureOffIsNotPolled() {
        WindowFixture fx;
        setDevice(fx, "UnitP", 3);
        fx.click("ButtonConnection");
        const QString title = fx.window().windowTitle();
        fx.device().clearLog();
        ticks(fx, 3);
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.commands(), QStringList({"?IN1", "?IN2", "?IN1", "?IN2", "?IN1", "?IN2"}));
        QCOMPARE(fx.ctl<QLabel>("IntDruck")->text(), QStringLiteral("-----"));
        QCOMPARE(fx.window().windowTitle(), title);
        auto *log = fx.ctl<QListWidget>("LLog");
        QCOMPARE(log->count(), 3);
        QCOMPARE(log->item(2)->text().split(QStringLiteral("; ")).size(), 4);
        QVERIFY(fx.ctl<QLabel>("Temperatur")->text().endsWith(QStringLiteral(" °C")));
    }

    void logCadenceFollowsTheInterval() {
        WindowFixture fx;
        fx.ctl<QSpinBox>("Messintervall")->setValue(5);
        QCOMPARE(fx.ctl<QLabel>("LabelxAchse_P")->text(), QStringLiteral("150 Sek"));
        QCOMPARE(fx.ctl<QLabel>("LabelxAchse_F")->text(), QStringLiteral("150 Sek"));
        fx.click("ButtonConnection");
        QCOMPARE(fx.window().Progress->maximum(), 5);
        auto *log = fx.ctl<QListWidget>("LLog");
        for (int k = 1; k <= 4; ++k) {
            tick(fx);
            QCOMPARE(log->count(), 0);
            QCOMPARE(fx.window().Progress->value(), k);
            QCOMPARE(measurement(fx).historyIndex(), 0);
        }
        tick(fx); // the 5th tick after the start logs
        QCOMPARE(log->count(), 1);
        QCOMPARE(fx.window().Progress->value(), 0);
        QCOMPARE(measurement(fx).historyIndex(), 1);
        ticks(fx, 4);
        QCOMPARE(log->count(), 1);
        tick(fx);
        QCOMPARE(log->count(), 2);
        QCOMPARE(measurement(fx).historyIndex(), 2);

        // A change of the interval empties the log and logs at the next tick.
        fx.ctl<QSpinBox>("Messintervall")->setValue(3);
        QCOMPARE(log->count(), 0);
        QCOMPARE(measurement(fx).historyIndex(), 0);
        QCOMPARE(fx.window().Progress->maximum(), 3);
        QCOMPARE(fx.ctl<QLabel>("LabelxAchse_T")->text(), QStringLiteral("90 Sek"));
        tick(fx);
        QCOMPARE(log->count(), 1);
        ticks(fx, 2);
        QCOMPARE(log->count(), 1);
        tick(fx);
        QCOMPARE(log->count(), 2);
        QVERIFY(fx.prompts().errors.isEmpty());
    }

    void historyKeepsTheLast31Intervals() {
        WindowFixture fx;
        fx.click("ButtonConnection");
        for (int k = 1; k <= 31; ++k) {
            replyOnce(fx, "?IP", "IP " + QByteArray::number(k));
            tick(fx);
        }
        const ChannelHistory &history = measurement(fx).history(kChannelPressure);
        QCOMPARE(measurement(fx).historyIndex(), 30);
        QCOMPARE(history.at(0).value, 2.0); // the first interval is dropped
        QCOMPARE(history.at(29).value, 31.0);
        replyOnce(fx, "?IP", "IP 32");
        tick(fx);
        QCOMPARE(measurement(fx).historyIndex(), 30);
        QCOMPARE(history.at(0).value, 3.0);
        QCOMPARE(history.at(29).value, 32.0);
        replyOnce(fx, "?IP", "IP 33");
        tick(fx);
        QCOMPARE(history.at(29).value, 33.0);
        QCOMPARE(history.at(28).value, 32.0);
        for (int i = 0; i <= 30; ++i)
            QCOMPARE(history.at(i).state, PointState::Value);
        QCOMPARE(fx.ctl<QListWidget>("LLog")->count(), 33);
    }

    void pollsBetweenIntervalsOverwriteTheNewestPoint() {
        WindowFixture fx;
        fx.ctl<QSpinBox>("Messintervall")->setValue(3);
        fx.click("ButtonConnection");
        for (int k = 1; k <= 3; ++k) {
            replyOnce(fx, "?IP", "IP " + QByteArray::number(10 * k));
            tick(fx);
        }
        // Ticks 1 and 2 wrote point 0, tick 3 overwrote it, drew and moved on.
        QCOMPARE(measurement(fx).history(kChannelPressure).at(0).value, 30.0);
        QCOMPARE(measurement(fx).historyIndex(), 1);
        QVERIFY(fx.ctl<QListWidget>("LLog")->item(0)->text().contains("; 30.0 Pa; "));
    }

    void stopEndsTheMode() {
        WindowFixture fx;
        TformMain &w = fx.window();
        fx.click("ButtonConnection");
        ticks(fx, 2);
        fx.click("ButtonConnection");
        QVERIFY(!w.state.measurementRunning);
        QVERIFY(!w.TimerMessung->isActive());
        QVERIFY(w.runner().abortRequested());
        QVERIFY(!w.ComPort().connected());
        QCOMPARE(fx.status(), QStringLiteral("Verbindung zu ZEL 40 / ZEL 80 getrennt"));
        QCOMPARE(w.windowTitle(), QStringLiteral("ZEL 40 / ZEL 80"));
        QCOMPARE(w.Progress->value(), 0);
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung starten"));
        QVERIFY(w.MEinstellungen->isEnabled());
        QVERIFY(w.ButtonLaden->isEnabled());
        QVERIFY(w.EinstellungenSheet->isEnabled());
        QVERIFY(!w.ButtonAbortConfig->isEnabled());
        // The log stays; a late tick only closes the port.
        QCOMPARE(fx.ctl<QListWidget>("LLog")->count(), 2);
        fx.device().clearLog();
        tick(fx);
        QVERIFY(fx.commands().isEmpty());
        QVERIFY(!w.TimerMessung->isActive());
        QVERIFY(fx.prompts().errors.isEmpty());

        // English: the button tells start from stop in the current language.
        w.SpracheEngClick();
        fx.click("ButtonConnection");
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(), QStringLiteral("stop measure"));
        fx.click("ButtonConnection");
        QCOMPARE(fx.status(), QStringLiteral("Disconnected from ZEL 40 / ZEL 80"));
    }

    void stopDuringAPollAbortsIt() {
        WindowFixture fx;
        TformMain &w = fx.window();
        fx.click("ButtonConnection");
        bool portOpenAfterStop = false;
        // The click is handled while the poll's exchange pumps messages.
        QTimer::singleShot(0, &w, [&] {
            fx.click("ButtonConnection");
            portOpenAfterStop = w.ComPort().connected();
        });
        fx.device().clearLog();
        tick(fx);
        QVERIFY(portOpenAfterStop);
        QCOMPARE(fx.commands(), QStringList{"?IP"});
        QCOMPARE(fx.prompts().errors, QStringList{"Abbruch durch Benutzer"});
        QCOMPARE(fx.status(), QStringLiteral("Abbruch durch Benutzer"));
        QVERIFY(!w.ComPort().connected());
        QVERIFY(!w.runner().abortRequested());
        QVERIFY(!w.state.measurementRunning);
        QVERIFY(!w.TimerMessung->isActive());
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung starten"));
        QVERIFY(!w.runner().waiting());
        // The next start works as usual.
        fx.click("ButtonConnection");
        tick(fx);
        QCOMPARE(fx.prompts().errors.size(), 1);
        QVERIFY(w.TimerMessung->isActive());
    }

    void linkFailureInAPollStopsTheMode() {
        WindowFixture fx;
        fx.click("ButtonConnection");
        fx.device().addFault(sim::FaultRule::onCommand("?IN1", sim::FaultRule::Kind::Silence, 2));
        tick(fx);
        QCOMPARE(fx.prompts().errors,
                 QStringList{"Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80 (COM1)"});
        QVERIFY(!fx.window().state.measurementRunning);
        QVERIFY(!fx.window().TimerMessung->isActive());
        QVERIFY(!fx.window().ComPort().connected());
        QCOMPARE(fx.window().windowTitle(), QStringLiteral("ZEL 40 / ZEL 80 Inbetriebnahmetool"));
    }

    void badRepliesNeverBreakTheTick() {
        WindowFixture fx;
        fx.click("ButtonConnection");
        replyOnce(fx, "?IP", "IP 4.5");
        tick(fx);
        const QList<QByteArray> replies = {
            "Err_CmdNotExist", "IP nan", "IP 1e308",  "IP -0", "IP -1e308",
            "IP 1,5",          "IP",     "IP 1e-320", "OK",    "IP 7 7"};
        for (const QByteArray &reply : replies) {
            replyOnce(fx, "?IP", reply);
            tick(fx);
            QVERIFY2(fx.prompts().errors.isEmpty(), reply.constData());
            QVERIFY(fx.window().TimerMessung->isActive());
        }
        fx.device().addFault(sim::FaultRule::onCommand("?IP", sim::FaultRule::Kind::Empty));
        tick(fx);
        fx.device().addFault(sim::FaultRule::onCommand("?IP", sim::FaultRule::Kind::Garbage));
        tick(fx);
        QVERIFY(fx.prompts().errors.isEmpty());
        const ChannelHistory &h = measurement(fx).history(kChannelPressure);
        QCOMPARE(h.at(0).value, 4.5);
        QCOMPARE(h.at(1).value, 4.5); // a code word keeps the previous value
        QCOMPARE(h.at(3).value, 1e308);
        QCOMPARE(h.at(4).value, 0.0);
        QVERIFY(h.at(8).value >= 0.0 && h.at(8).value < 1e-300);
        QCOMPARE(h.at(12).value, h.at(8).value);
        QCOMPARE(fx.ctl<QLabel>("IntDruck")->text(), QStringLiteral("0.0 Pa"));
        // The chart labels stay at sane places whatever came in.
        for (int j = 0; j < 8; ++j) {
            auto *label = fx.ctl<QLabel>(QStringLiteral("Hilfsgitterlinie_P_%1").arg(j));
            if (!label->isHidden())
                QVERIFY2(qAbs(label->y()) < 1200, qPrintable(QString::number(label->y())));
        }
        // The first point without a number falls back on the lower end of the range.
        fx.click("ButtonConnection");
        fx.click("ButtonConnection");
        replyOnce(fx, "?IP", "Err_CmdNotExist");
        tick(fx);
        QCOMPARE(measurement(fx).history(kChannelPressure).at(0).value, -250.0);
        QCOMPARE(fx.ctl<QLabel>("IntDruck")->text(), QStringLiteral("-250.0 Pa"));
    }
};

ZEL_TEST_MAIN(TestMeasurement)
#include "test_measurement.moc"

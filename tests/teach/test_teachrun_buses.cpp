// The teach run on the open instrument buses: linux-gpib through a stand-in of libgpib.so.0,
// a Prologix-protocol adapter on a pseudo-terminal and on TCP, and LAN instruments, each
// against the simulated bench served in this process. Each sends the instruments exactly what
// the simulated backend (the VISA seam) sends; and a bus that fails ends the run with an error
// naming what was tried, the controller vented where it was reached.
#include "tests/support/TestMain.h"
#include "tests/teach/test_busrun_fixture.h"

namespace {

using busrun::BusRun;
const QStringList kGroups = {"CheckBox_intDruck", "CheckBox_OUT_Spannung", "CheckBox_IN2_Strom"};

// Clicks the abort button once the controller has been asked " Stable?": the run is then
// waiting for a reply on the bus.
struct AbortDuringRead {
    explicit AbortDuringRead(TeachRunFixture &fx) {
        timer.setInterval(2);
        QObject::connect(&timer, &QTimer::timeout, [this, &fx] {
            if (fx.bench->pressureController().log().contains(" Stable?")) {
                timer.stop();
                fx.click("ButtonAbortTeach");
            }
        });
        timer.start();
    }
    QTimer timer;
};

} // namespace

class TestTeachRunBuses : public QObject {
    Q_OBJECT

private slots:
    void sameTraceOnEveryBus_data();
    void sameTraceOnEveryBus();
    void busFailuresEndTheRunCleanly_data();
    void busFailuresEndTheRunCleanly();
};

void TestTeachRunBuses::sameTraceOnEveryBus_data() {
    QTest::addColumn<QString>("bus");
    for (const char *bus : {"linux-gpib", "prologix-pty", "prologix-tcp", "lan"})
        QTest::newRow(bus) << QString::fromLatin1(bus);
}

void TestTeachRunBuses::sameTraceOnEveryBus() {
    QFETCH(QString, bus);
    static QStringList reference;
    if (reference.isEmpty()) {
        BusRun simulated(QStringLiteral("simulated"));
        simulated.fx.chooseGroups(kGroups);
        simulated.fx.click("ButtonTeach");
        QCOMPARE(simulated.fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
        reference = simulated.trace();
    }
    BusRun run(bus);
    run.fx.chooseGroups(kGroups);
    run.fx.click("ButtonTeach");

    QVERIFY2(run.fx.prompts->errors.isEmpty(), qPrintable(run.fx.prompts->errors.join('|')));
    QCOMPARE(run.fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    QCOMPARE(run.trace(), reference);
    QVERIFY(run.fx.label("P120").toInt() > 60000);
    QCOMPARE(run.fx.line->commands.count("SavePar"), 1);
    QCOMPARE(run.gpib.openDescriptors(), 0);
    QCOMPARE(run.fx.lockedControls(), QString());
    if (bus.startsWith(QLatin1String("prologix"))) {
        // The adapter was set up as the teach run needs it, and understood every command.
        const sim::PrologixAdapterSim *adapter = run.server.ptyAdapter();
        if (adapter) {
            QCOMPARE(adapter->unknownCommands(), 0);
            QVERIFY(!adapter->autoRead() && adapter->eoi() && adapter->eos() == 3);
            QCOMPARE(adapter->address(), 9);
        }
    }
}

void TestTeachRunBuses::busFailuresEndTheRunCleanly_data() {
    QTest::addColumn<QString>("bus");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("error"); // the start of the message shown
    QTest::addColumn<bool>("vented");   // the controller was reached and vented
    QTest::newRow("prologix-tcp wrong address")
        << "prologix-tcp"
        << "pc-address"
        << "KMV700 an GPIB-Adresse 5 über Prologix-Adapter " << false;
    QTest::newRow("linux-gpib wrong address")
        << "linux-gpib"
        << "pc-address"
        << "KMV700 an GPIB-Adresse 5 (linux-gpib, Board 0): ibwrt meldet ENOL" << false;
    QTest::newRow("lan silent controller") << "lan"
                                           << "silent"
                                           << "KMV700 an LAN 127.0.0.1:" << true;
    QTest::newRow("linux-gpib silent controller")
        << "linux-gpib"
        << "silent"
        << "KMV700 an GPIB-Adresse 1 (linux-gpib, Board 0): keine "
           "Antwort innerhalb 300 ms"
        << true;
    QTest::newRow("prologix-pty abort during read") << "prologix-pty"
                                                    << "abort"
                                                    << "Abbruch durch Benutzer" << true;
    QTest::newRow("lan abort during read") << "lan"
                                           << "abort"
                                           << "Abbruch durch Benutzer" << true;
    QTest::newRow("prologix-tcp no adapter")
        << "prologix-tcp"
        << "no-adapter"
        << "Prologix-Adapter 127.0.0.1:1: keine Verbindung" << false;
}

void TestTeachRunBuses::busFailuresEndTheRunCleanly() {
    QFETCH(QString, bus);
    QFETCH(QString, fault);
    QFETCH(QString, error);
    QFETCH(bool, vented);
    // An abort must end the wait long before this time-out would.
    BusRun run(bus, fault == QLatin1String("abort") ? 120000 : 300);
    TeachRunFixture &fx = run.fx;
    fx.chooseGroups({"CheckBox_intDruck", "CheckBox_OUT_Strom"}, false);
    if (fault == QLatin1String("pc-address")) {
        fx.window().state.gpib.GPIB1 = QStringLiteral("5");
    } else if (fault == QLatin1String("no-adapter")) {
        ToolSettings(fx.dir()).writeString("IEEE", "Prologix", "127.0.0.1:1");
    } else {
        fx.bench->pressureController().queueStableReply(QByteArray());
    }
    std::unique_ptr<AbortDuringRead> abort;
    if (fault == QLatin1String("abort"))
        abort = std::make_unique<AbortDuringRead>(fx);
    fx.click("ButtonTeach");

    QCOMPARE(fx.prompts->errors.size(), 1);
    QVERIFY2(fx.prompts->errors.first().startsWith(error), qPrintable(fx.prompts->errors.first()));
    QCOMPARE(fx.lockedControls(), QString());
    // No section after the failure ran.
    QVERIFY(!fx.line->commands.contains(">IDC 80"));
    // The bench serves from this process's event loop: what went out last arrives on its turn.
    const auto ventedLast = [&fx] {
        const QByteArrayList &controller = fx.bench->pressureController().log();
        return !controller.isEmpty() && controller.last() == " Vent";
    };
    if (vented) {
        QTRY_VERIFY_WITH_TIMEOUT(ventedLast(), 10000);
        QCOMPARE(fx.line->model.appliedPressure(), 0.0);
    } else {
        QVERIFY(!fx.bench->pressureController().log().contains(" Vent"));
    }
    QCOMPARE(run.gpib.openDescriptors(), 0);
}

ZEL_TEST_MAIN(TestTeachRunBuses)
#include "test_teachrun_buses.moc"

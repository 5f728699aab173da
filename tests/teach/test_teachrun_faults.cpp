// The teach run when things go wrong: wobbling pressure, refused points, odd replies from the
// device and the instruments, a missing range, and the operator's abort.
#include "app/TeachController.h"
#include "link/EComPort.h"
#include "tests/support/TestMain.h"
#include "tests/teach/test_teachrun_fixture.h"

#include <QRegularExpression>

namespace {

const QString kNoRange =
    QStringLiteral("Es wurde kein Druckmeßbereich gewählt. Das Teachen wird abgebrochen!");

// Replies to the next " Stable?" queries, each followed by the controller's own answers.
void queueStable(TeachRunFixture &fx, const QByteArrayList &replies) {
    fx.bench->pressureController().setSettlingMs(0);
    for (const QByteArray &reply : replies)
        fx.bench->pressureController().queueStableReply(reply);
}

// Clicks the abort button at the next turn of the event loop, as an operator would while the
// run waits, and notes whether the teach buttons were still held right after it.
struct AbortClick {
    bool clicked = false;
    bool teachHeldAfterClick = false;
    bool loadHeldAfterClick = false;

    void schedule(TeachRunFixture &fx) {
        QTimer::singleShot(0, [this, &fx] {
            fx.click("ButtonAbortTeach");
            clicked = true;
            teachHeldAfterClick = !fx.ctl<QPushButton>("ButtonTeach")->isEnabled();
            loadHeldAfterClick = !fx.ctl<QPushButton>("ButtonLoadTeach")->isEnabled() &&
                                 !fx.ctl<QPushButton>("ButtonSendTeach")->isEnabled();
        });
    }
};

} // namespace

class TestTeachRunFaults : public QObject {
    Q_OBJECT

private slots:
    void unstableSecondStableRepeatsThePoint();
    void refusedPressurePointIsRepeated();
    void stabilityRepliesAreCleaned();
    void neverStableRunsUntilAbort();
    void shortMTeachRepliesAreResent();
    void refusedSaveIsReportedAndTheRunEnds();
    void measurementNotANumberEndsTheRun();
    void abortDuringDaSearch();
    void abortDuringDaSearchOfSimulatedDevice();
    void noRangeChosen();
    void everyEarlyEndVentsTheController();
};

void TestTeachRunFaults::unstableSecondStableRepeatsThePoint() {
    TeachRunFixture fx;
    fx.chooseGroups({"CheckBox_intDruck"}, false);
    queueStable(fx, {"YES\r\n", "YES\r\n", "YES\r\n", "NO\r\n"});
    QString labelAtRepeat;
    auto record = fx.line->onCommand;
    int taken = 0;
    fx.line->onCommand = [&](const QString &command) {
        record(command);
        if (command == ">TPStuetz0" && ++taken == 2)
            labelAtRepeat = fx.label("M120");
    };
    fx.click("ButtonTeach");

    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    QCOMPARE(fx.line->commands.mid(0, 5),
             (QStringList{">MTeach", ">MeasRange 0", ">TPStuetz0", ">TPStuetz0", ">TPStuetz1"}));
    QVERIFY(fx.statuses.contains("int. Druck: Stützstelle 0 (-300 Pa) muß wiederholt werden "
                                 "(Druck während der Messung instabil)."));
    // The value taken before the wobble stays until the repetition overwrites it.
    QVERIFY(labelAtRepeat.toInt() > 2000 && labelAtRepeat.toInt() < 3500);
    QStringList between = fx.benchBetween(
        fx.seenIndex(">TPStuetz0"), fx.seenIndex(">TPStuetz0", fx.seenIndex(">TPStuetz0") + 1));
    QCOMPARE(between, (QStringList{" Stable?", " _pcs4 func ctrl 300 Pa", " Stable?", " Stable?",
                                   " Stable?"}));
}

void TestTeachRunFaults::refusedPressurePointIsRepeated() {
    TeachRunFixture fx;
    fx.chooseGroups({"CheckBox_intDruck"}, false);
    int refusals = 2;
    QStringList labelsAtRetake;
    fx.line->override = [&](const QString &command) -> std::optional<QByteArray> {
        if (command == ">TPStuetz3") {
            labelsAtRetake << fx.label("M80");
            if (refusals-- > 0)
                return QByteArray("TPStuetz3 Err");
        }
        return std::nullopt;
    };
    fx.click("ButtonTeach");

    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    const int first = fx.line->commands.indexOf(">TPStuetz3");
    QCOMPARE(fx.line->commands.mid(first, 4),
             (QStringList{">TPStuetz3", ">TPStuetz3", ">TPStuetz3", ">TPStuetz5"}));
    QCOMPARE(labelsAtRetake, (QStringList{"0", "9999", "9999"}));
    QVERIFY(fx.statuses.contains("int. Druck: Stützstelle 3 (-200 Pa): FEHLER!"));
    QVERIFY(fx.label("M80").toInt() > 5000 && fx.label("M80").toInt() < 15000);
    // No second stability check after a refused value: the pressure is set again at once.
    const QStringList afterRefusal = fx.benchBetween(first, first + 1);
    QCOMPARE(afterRefusal.first(), QStringLiteral(" _pcs4 func ctrl 200 Pa"));
}

void TestTeachRunFaults::stabilityRepliesAreCleaned() {
    TeachRunFixture fx;
    fx.chooseGroups({"CheckBox_intDruck"}, false);
    // Blanks are ignored, the case is not, a missing or short line end is no "YES".
    queueStable(fx, {"Y E S\r\n", "yes\r\n", "", "YES\n", "YES\r\n", " YES \r\n", "garbage"});
    fx.click("ButtonTeach");

    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    const QStringList polls = fx.benchBetween(-1, fx.seenIndex(">TPStuetz0"));
    QCOMPARE(polls.count(" Stable?"), 10);
    QVERIFY(fx.prompts->errors.isEmpty());
}

void TestTeachRunFaults::neverStableRunsUntilAbort() {
    TeachRunFixture fx;
    fx.setOption("ZEL_Simulation", true);
    fx.chooseGroups({"CheckBox_intDruck", "CheckBox_OUT_Strom"}, false);
    fx.bench->pressureController().setStableOverride("NO\r\n");
    QTimer operatorWatch;
    operatorWatch.setInterval(1);
    QObject::connect(&operatorWatch, &QTimer::timeout, [&] {
        if (fx.bench->pressureController().log().count(" Stable?") >= 12) {
            operatorWatch.stop();
            fx.click("ButtonAbortTeach");
        }
    });
    operatorWatch.start();
    fx.click("ButtonTeach");

    QVERIFY(!fx.watchdogFired);
    QCOMPARE(fx.status(), QStringLiteral("Abbruch durch Benutzer."));
    QVERIFY(fx.prompts->errors.isEmpty());
    QCOMPARE(fx.line->commands, QStringList{">MeasRange 0"});
    QCOMPARE(fx.bench->pressureController().log().last(), QByteArray(" Vent"));
    QCOMPARE(fx.bench->openSessions(), 0);
    QVERIFY(fx.bench->daqUnit().log().isEmpty());
    QCOMPARE(fx.lockedControls(), QString());
}

void TestTeachRunFaults::shortMTeachRepliesAreResent() {
    TeachRunFixture fx;
    fx.chooseGroups({"CheckBox_OUT_Spannung"}, false);
    fx.line->model.setTeachMode(true);
    bool first = true;
    fx.line->override = [&](const QString &command) -> std::optional<QByteArray> {
        if (command == ">MTeach" && first) {
            first = false;
            return QByteArray("MTeach");
        }
        return std::nullopt;
    };
    fx.click("ButtonTeach");

    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    // Short reply, then "MTeach 0" (the device was in teach mode already), then "MTeach 1".
    QCOMPARE(fx.line->commands.mid(0, 4),
             (QStringList{">MTeach", ">MTeach", ">MTeach", ">VDC 80"}));
    QCOMPARE(fx.line->commands.last(), QStringLiteral(">MTeach"));
    QCOMPARE(fx.line->commands.count(">MTeach"), 4);
    QVERIFY(!fx.line->model.teachMode());
}

void TestTeachRunFaults::refusedSaveIsReportedAndTheRunEnds() {
    TeachRunFixture fx;
    fx.chooseGroups({"CheckBox_OUT_Spannung"}, false);
    fx.line->override = [](const QString &command) -> std::optional<QByteArray> {
        if (command == "SavePar")
            return QByteArray("Err_Flash");
        return std::nullopt;
    };
    fx.click("ButtonTeach");

    QCOMPARE(fx.prompts->messages, QStringList{"Speichern war nicht erfolgreich."});
    QVERIFY(fx.prompts->errors.isEmpty());
    const QStringList &commands = fx.line->commands;
    QCOMPARE(commands.mid(commands.size() - 2), (QStringList{"SavePar", ">MTeach"}));
    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    QVERIFY(!fx.line->model.teachMode());
    QCOMPARE(fx.lockedControls(), QString());
}

void TestTeachRunFaults::measurementNotANumberEndsTheRun() {
    TeachRunFixture fx;
    fx.chooseGroups({"CheckBox_OUT_Strom", "CheckBox_OUT_Spannung"}, false);
    fx.bench->daqUnit().queueMeasureReply("garbage\n");
    fx.click("ButtonTeach");

    QCOMPARE(fx.prompts->errors, QStringList{"'garbage' ist kein gültiger Gleitkommawert"});
    QCOMPARE(fx.line->commands, (QStringList{">MTeach", ">IDC 80"}));
    QCOMPARE(fx.lockedControls(), QString());
    QVERIFY(fx.line->model.teachMode()); // nothing switches the device back after a failure

    // The window is ready for the next run; an empty reply fails the same way.
    fx.bench->daqUnit().queueMeasureReply("");
    fx.click("ButtonTeach");
    QCOMPARE(fx.prompts->errors.last(), QStringLiteral("'' ist kein gültiger Gleitkommawert"));
    QCOMPARE(fx.lockedControls(), QString());
}

// A failure or an abort inside an exchange ends the run early: the device under test must not
// stay under pressure.
void TestTeachRunFaults::everyEarlyEndVentsTheController() {
    for (const bool abort : {false, true}) {
        TeachRunFixture fx;
        fx.chooseGroups({"CheckBox_intDruck"}, false);
        fx.bench->pressureController().setSettlingMs(0);
        int taught = 0;
        double pressureAtFailure = 0;
        fx.line->override = [&](const QString &line) -> std::optional<QByteArray> {
            if (!line.startsWith(">TPStuetz") || ++taught < 3)
                return std::nullopt;
            pressureAtFailure = fx.line->model.appliedPressure();
            if (!abort) // the adapter is pulled out
                throw EComPort(QStringLiteral("WriteFile function failed"), 5);
            if (taught == 3)
                fx.window().ButtonAbortTeachClick();
            return std::nullopt;
        };
        fx.click("ButtonTeach");

        QCOMPARE(
            fx.prompts->errors,
            QStringList{abort ? QStringLiteral("Abbruch durch Benutzer")
                              : QStringLiteral("WriteFile function failed (win error code: 5)")});
        QVERIFY(pressureAtFailure != 0);
        QCOMPARE(fx.benchBetween(0, -1).last(), QStringLiteral(" Vent"));
        QCOMPARE(fx.line->model.appliedPressure(), 0.0);
        QCOMPARE(fx.lockedControls(), QString());
    }
}

void TestTeachRunFaults::abortDuringDaSearch() {
    TeachRunFixture fx;
    fx.chooseGroups({"CheckBox_OUT_Strom", "CheckBox_OUT_Spannung"}, false);
    AbortClick abort;
    int daCommands = 0;
    bool heldWhileUnwinding = false;
    int commandsAfterSecondClick = -1;
    auto record = fx.line->onCommand;
    fx.line->onCommand = [&](const QString &command) {
        record(command);
        if (command.startsWith(">IDC ") && ++daCommands == 3)
            abort.schedule(fx);
        if (command == "SavePar") {
            heldWhileUnwinding = fx.window().teach().runActive() &&
                                 !fx.ctl<QPushButton>("ButtonTeach")->isEnabled() &&
                                 !fx.ctl<QPushButton>("ButtonAbortTeach")->isEnabled();
            const int before = int(fx.line->commands.size());
            fx.window().ButtonTeachClick(); // a click that slipped through starts nothing
            commandsAfterSecondClick = int(fx.line->commands.size()) - before;
        }
    };
    fx.click("ButtonTeach");

    QVERIFY(abort.clicked && abort.teachHeldAfterClick && abort.loadHeldAfterClick);
    QVERIFY(heldWhileUnwinding);
    QCOMPARE(commandsAfterSecondClick, 0);
    // The pass that was running ends; its point is neither shown nor stored; the voltage
    // section does not start; "SavePar" is sent once and ends the run with the user abort.
    QCOMPARE(fx.line->commands,
             (QStringList{">MTeach", ">IDC 80", ">IDC 78", ">IDC 77", "SavePar"}));
    QCOMPARE(fx.label("I0mA"), QStringLiteral("0"));
    QCOMPARE(fx.prompts->errors, QStringList{"Abbruch durch Benutzer"});
    QCOMPARE(fx.status(), QStringLiteral("Abbruch durch Benutzer"));
    QCOMPARE(fx.bench->openSessions(), 0);
    QVERIFY(fx.line->model.teachMode());
    QCOMPARE(fx.lockedControls(), QString());
    QVERIFY(!fx.window().runner().abortRequested());
}

void TestTeachRunFaults::abortDuringDaSearchOfSimulatedDevice() {
    TeachRunFixture fx;
    fx.setOption("ZEL_Simulation", true);
    fx.chooseGroups({"CheckBox_OUT_Strom", "CheckBox_OUT_Spannung", "CheckBox_IN1_Strom"}, false);
    AbortClick abort;
    int daCommands = 0;
    auto record = fx.line->onCommand;
    fx.line->onCommand = [&](const QString &command) {
        record(command);
        if (command.startsWith(">IDC ") && ++daCommands == 2)
            abort.schedule(fx);
    };
    fx.click("ButtonTeach");

    QVERIFY(abort.clicked && abort.teachHeldAfterClick);
    QCOMPARE(fx.line->commands, (QStringList{">IDC 80", ">IDC 78"}));
    QVERIFY(fx.prompts->errors.isEmpty());
    QCOMPARE(fx.status(), QStringLiteral("Abbruch durch Benutzer."));
    QVERIFY(fx.statuses.contains("Teachdaten im Gerät speichern ..."));
    QVERIFY(fx.statuses.contains("Gerät in Normalmodus versetzt."));
    QVERIFY(fx.daqUnitCodes().isEmpty());
    QCOMPARE(fx.lockedControls(), QString());
    QVERIFY(!fx.window().teach().runActive());
}

void TestTeachRunFaults::noRangeChosen() {
    {
        TeachRunFixture::Config config;
        config.rangeIndex = -1;
        TeachRunFixture fx(config);
        fx.chooseGroups({"CheckBox_OUT_Spannung"}, true);
        fx.click("ButtonTeach");
        QCOMPARE(fx.prompts->messages, QStringList{kNoRange});
        // The next exchange ends the run as an abort would.
        QCOMPARE(fx.line->commands, QStringList{">MTeach"});
        QCOMPARE(fx.prompts->errors, QStringList{"Abbruch durch Benutzer"});
        QCOMPARE(fx.lockedControls(), QString());
    }
    {
        TeachRunFixture::Config config;
        config.rangeIndex = -1;
        TeachRunFixture fx(config);
        fx.setOption("ZEL_Simulation", true);
        fx.chooseGroups({"CheckBox_intDruck", "CheckBox_OUT_Spannung"}, true);
        fx.click("ButtonTeach");
        // Once for the factory state, once more by the pressure section; nothing is sent.
        QCOMPARE(fx.prompts->messages, (QStringList{kNoRange, kNoRange}));
        QVERIFY(fx.line->commands.isEmpty());
        QVERIFY(fx.bench->log().isEmpty());
        QVERIFY(fx.prompts->errors.isEmpty());
        QCOMPARE(fx.status(), QStringLiteral("Abbruch durch Benutzer."));
        QCOMPARE(fx.lockedControls(), QString());
    }
}

ZEL_TEST_MAIN(TestTeachRunFaults)
#include "test_teachrun_faults.moc"

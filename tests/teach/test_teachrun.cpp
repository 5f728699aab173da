// The production teach run against a simulated device and simulated bench instruments: the
// whole run, the pressure points and their sides, groups left out, and the two options.
#include "app/DemoBench.h"
#include "app/TeachController.h"
#include "sim/AnalogFrontEnd.h"
#include "teach/PressurePoints.h"
#include "teach/TeachRun.h"
#include "teach/TeachValueTable.h"
#include "tests/support/TestMain.h"
#include "tests/teach/test_teachrun_fixture.h"

#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QRegularExpression>

namespace {

int number(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw std::runtime_error("not a number: " + text.toStdString());
    return value;
}

QStringList withoutDaCommands(const QStringList &commands) {
    QStringList kept;
    for (const QString &c : commands) {
        if (!c.startsWith(">IDC ") && !c.startsWith(">VDC "))
            kept << c;
    }
    return kept;
}

QStringList inputCommands(const char *name) {
    QStringList commands;
    for (int i = 0; i < 7; ++i)
        commands << QStringLiteral(">%1%2").arg(QLatin1String(name)).arg(i);
    return commands;
}

QList<int> setPointMagnitudes(const QByteArrayList &controllerLog) {
    QList<int> magnitudes;
    for (const QByteArray &entry : controllerLog) {
        if (entry.startsWith(" _pcs4 func ctrl "))
            magnitudes << entry.mid(17, entry.size() - 17 - 3).toInt();
    }
    return magnitudes;
}

// The DA value stored for a point is the one measured last, moved by one towards the target
// (or the measured one itself after an exact hit).
void verifyStoredNextToLastMeasured(const QStringList &commands, const QString &store,
                                    const QString &daPrefix) {
    const int at = commands.indexOf(QRegularExpression(QRegularExpression::escape(store) + ".*"));
    QVERIFY2(at > 0, qPrintable(store));
    const QString last = commands.at(at - 1);
    QVERIFY2(last.startsWith(daPrefix), qPrintable(last));
    const int stored = number(commands.at(at).mid(store.size()));
    const int measured = number(last.mid(daPrefix.size()));
    QVERIFY2(qAbs(stored - measured) <= 1, qPrintable(commands.at(at) + " after " + last));
}

bool controlsLockedForRun(TformMain &w) {
    auto enabled = [&w](const char *name) {
        return w.ctl<QWidget>(QString::fromLatin1(name))->isEnabled();
    };
    return !enabled("ButtonTeach") && !enabled("ButtonLoadTeach") && !enabled("ButtonSendTeach") &&
           enabled("ButtonAbortTeach") && !enabled("ButtonLaden") && !enabled("ButtonSenden") &&
           !enabled("ButtonWE100Pa") && !enabled("ButtonWE250Pa") &&
           !enabled("ButtonAbortConfig") && !w.MEinstellungen->isEnabled() &&
           !w.MExtras->isEnabled() && !w.StatusSheet->isEnabled() &&
           !w.SkalierungswerteSheet->isEnabled() && !w.WarnwerteSheet->isEnabled() &&
           !w.EinstellungenSheet->isEnabled() && w.TeachZELSheet->isEnabled();
}

} // namespace

class TestTeachRun : public QObject {
    Q_OBJECT

private slots:
    void fullRunTeachesAllSevenGroups();
    void demoBenchTeachesTheSimulatedDevice();
    void pressurePointsAtHundredPascal();
    void groupsLeftOutAreDisabled();
    void noGroupChosenTouchesNothing();
    void simulatedDeviceIsNotTaught();
    void sourceValuesShownAndRefusedInputPoint();
};

void TestTeachRun::fullRunTeachesAllSevenGroups() {
    TeachRunFixture fx;
    fx.chooseGroups(TeachRunFixture::AllGroups);
    fx.ctl<QLabel>("M120")->setText("77");
    fx.ctl<QLabel>("KalibPlus")->setText("55");
    fx.ctl<QListWidget>("ListBox1")->addItem("old line");
    bool lockedDuringRun = false;
    auto record = fx.line->onCommand;
    fx.line->onCommand = [&](const QString &command) {
        record(command);
        if (command == ">TPStuetz0")
            lockedDuringRun = controlsLockedForRun(fx.window());
    };
    fx.click("ButtonTeach");

    QVERIFY(!fx.watchdogFired);
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join('|')));
    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    QCOMPARE(fx.prompts->messages,
             QStringList{"Anschluß B des KMV700 wird verwendet. Verbindung jetzt herstellen."});
    QVERIFY(lockedDuringRun);
    QCOMPARE(fx.lockedControls(), QString());
    QVERIFY(!fx.window().teach().runActive());
    QCOMPARE(fx.window().Progress->value(), 0);
    QCOMPARE(fx.ctl<QListWidget>("ListBox1")->count(), 0);
    QCOMPARE(fx.label("KalibPlus"), QStringLiteral("55"));

    // Device commands, the DA settings of the searches left out.
    QStringList expected = {">MeasRange 0", "RecallWE", ">MTeach", ">MeasRange 0"};
    for (int index : PressurePoints::taughtIndices())
        expected << PressurePoints::teachCommand(index);
    expected << ">StIDC0 " + fx.label("I0mA") << ">StIDC1 " + fx.label("I4mA")
             << ">StIDC2 " + fx.label("I20mA") << ">StVDC1 " + fx.label("U0V")
             << ">StVDC3 " + fx.label("U10V");
    expected << inputCommands("TIN1IStuetz") << inputCommands("TIN1UStuetz")
             << inputCommands("TIN2IStuetz") << inputCommands("TIN2UStuetz");
    expected << "SavePar"
             << ">MTeach";
    const QStringList commands = fx.line->commands;
    QCOMPARE(withoutDaCommands(commands), expected);
    verifyStoredNextToLastMeasured(commands, ">StIDC0 ", ">IDC ");
    verifyStoredNextToLastMeasured(commands, ">StIDC1 ", ">IDC ");
    verifyStoredNextToLastMeasured(commands, ">StIDC2 ", ">IDC ");
    verifyStoredNextToLastMeasured(commands, ">StVDC1 ", ">VDC ");
    verifyStoredNextToLastMeasured(commands, ">StVDC3 ", ">VDC ");
    QVERIFY(commands.indexOf(">IDC 80") < commands.indexOf(">IDC 793"));
    QVERIFY(commands.indexOf(">IDC 793") < commands.indexOf(">IDC 3707"));
    QVERIFY(commands.indexOf(">VDC 80") < commands.indexOf(">VDC 3376"));

    // The instruments: one controller session, six sessions of the data-acquisition unit.
    QByteArrayList opens;
    for (const QByteArray &entry : fx.bench->log()) {
        if (entry.startsWith("open "))
            opens << entry.mid(5);
    }
    QCOMPARE(opens, (QByteArrayList{"GPIB0::1::INSTR", "GPIB0::9::INSTR", "GPIB0::9::INSTR",
                                    "GPIB0::9::INSTR", "GPIB0::9::INSTR", "GPIB0::9::INSTR",
                                    "GPIB0::9::INSTR"}));
    QCOMPARE(fx.bench->openSessions(), 0);
    const QByteArrayList &controller = fx.bench->pressureController().log();
    QCOMPARE(controller.mid(0, 3),
             (QByteArrayList{" Outform 1", " Chan B", " Sensor Secondary, 2"}));
    QCOMPARE(setPointMagnitudes(controller),
             (QList<int>{300, 250, 200, 150, 100, 50, 50, 100, 150, 200, 250, 300}));
    QCOMPARE(controller.count(" Vent"), 2);
    QCOMPARE(controller.last(), QByteArray(" Vent"));
    QByteArrayList routing;
    for (const QByteArray &entry : fx.bench->daqUnit().log()) {
        if (entry.startsWith("SOUR:DIG:DATA"))
            routing << entry;
    }
    QCOMPARE(routing, (QByteArrayList{"SOUR:DIG:DATA 2,(@301)", "SOUR:DIG:DATA 0,(@301)",
                                      "SOUR:DIG:DATA 3,(@301)", "SOUR:DIG:DATA 1,(@301)"}));
    QVERIFY(fx.bench->daqUnit().log().contains("SOUR:VOLT -0.021,(@305)"));
    QVERIFY(fx.bench->daqUnit().log().contains("SOUR:VOLT -0.006,(@304)"));
    QCOMPARE(fx.bench->daqUnit().unknownCommands(), 0);
    QCOMPARE(fx.bench->pressureController().unknownCommands(), 0);

    // +-250 Pa: the first point is generated as 300 Pa on the minus side.
    const int first = fx.seenIndex(">TPStuetz0");
    QVERIFY(!fx.seen.at(first).lines.dtr && fx.seen.at(first).lines.rts);
    QCOMPARE(fx.seen.at(first).appliedPa, -300.0);
    QCOMPARE(fx.line->modemLines.mid(0, 4), (QStringList{"DTR=0", "RTS=0", "DTR=0", "RTS=1"}));
    QCOMPARE(fx.seen.at(fx.seenIndex(">TPStuetz22")).appliedPa, 300.0);

    // Labels: the device's raw values at the pressures, the DA values of the output, and the
    // device's readings of the inputs.
    for (int index : PressurePoints::taughtIndices()) {
        const int pressure = PressurePoints::generated(index, 0);
        const int expectedCounts = sim::AnalogFrontEnd::pressureCounts(pressure, 250.0);
        const QString name = PressurePoints::labelName(index);
        QVERIFY2(qAbs(number(fx.label(name)) - expectedCounts) <= 3, qPrintable(name));
        QCOMPARE(fx.line->model.savedTeachValue("PStuetz" + QByteArray::number(index)),
                 number(fx.label(name)));
    }
    QVERIFY(qAbs(number(fx.label("I0mA")) - sim::AnalogFrontEnd::daForCurrent(0)) <= 8);
    QVERIFY(qAbs(number(fx.label("I4mA")) - sim::AnalogFrontEnd::daForCurrent(4)) <= 6);
    QVERIFY(qAbs(number(fx.label("I20mA")) - sim::AnalogFrontEnd::daForCurrent(20)) <= 6);
    QVERIFY(qAbs(number(fx.label("U0V")) - sim::AnalogFrontEnd::daForVoltage(0)) <= 8);
    QVERIFY(qAbs(number(fx.label("U10V")) - sim::AnalogFrontEnd::daForVoltage(10)) <= 6);
    QCOMPARE(fx.line->model.savedTeachValue("StVDC3"), number(fx.label("U10V")));
    const int currents[] = {0, 4, 8, 12, 16, 20, 21};
    const int volts[] = {0, 2, 4, 6, 8, 10, 11};
    for (int input : {1, 2}) {
        for (int i = 0; i < 7; ++i) {
            const QString in = QStringLiteral("IN%1").arg(input);
            const int current = number(fx.label(in + "I" + QString::number(currents[i]) + "mA"));
            const int voltage = number(fx.label(in + "U" + QString::number(volts[i]) + "V"));
            QVERIFY(qAbs(current - sim::AnalogFrontEnd::inputCurrentCounts(input, currents[i])) <=
                    15);
            QVERIFY(qAbs(voltage - sim::AnalogFrontEnd::inputVoltageCounts(input, volts[i])) <= 15);
            QCOMPARE(
                fx.line->model.savedTeachValue(in.toLatin1() + "IStuetz" + QByteArray::number(i)),
                current);
        }
    }
    QVERIFY(!fx.line->model.teachMode());

    // Status texts along the way, word for word.
    for (const char *text :
         {"ZEL 40 / ZEL 80 zurücksetzen ...",
          "Gerät in Teachmodus versetzen ...",
          "Gerät in Teachmodus versetzt.",
          "int. Druck: Stützstelle 0 (-300 Pa) wird generiert ...",
          "int. Druck: Stützstelle 0 (-300 Pa): Druck stabil, Messwert wird jetzt aufgenommen.",
          "int. Druck: Stützstelle 0 (-300 Pa) gespeichert.",
          "int. Druck: Stützstelle 22 (300 Pa) gespeichert.",
          "OUT-D: Strom wird geteacht ...",
          "OUT-D: Stützstelle 1 (4 mA) wird geteacht ...",
          "OUT-D: Stützstelle 2 (20 mA) gespeichert.",
          "OUT-D: Spannung wird geteacht ...",
          "OUT-D: Stützstelle 1 (10 V) gespeichert.",
          "IN-1: Strom wird geteacht ...",
          "IN-1: Stützstelle 0 (0 mA) wird geteacht ...",
          "IN-1: Stützstelle 0 (0 mA): Strom ok, Messwert wird jetzt aufgenommen.",
          "IN-1: Stützstelle 6 (21 mA) gespeichert.",
          "IN-1: Spannung wird geteacht ...",
          "IN-2: Strom wird geteacht ...",
          "IN-2: Spannung wird geteacht ...",
          "IN-2: Stützstelle 6 (11 V): Spannung ok, Messwert wird jetzt aufgenommen.",
          "IN-2: Stützstelle 6 (11 V) gespeichert.",
          "Teachdaten im Gerät speichern ...",
          "Gerät in Normalmodus versetzen ...",
          "Gerät in Normalmodus versetzt."})
        QVERIFY2(fx.statuses.contains(QString::fromUtf8(text)), text);
    const QRegularExpression pass(
        "^OUT-D: Stützstelle 1 \\(4 mA\\): DA-Wert = 793; gemessen: 4\\.\\d+ mA$");
    QVERIFY(fx.statuses.indexOf(pass) >= 0);
    const QRegularExpression inputPass(
        "^IN-1: Stützstelle 1 \\(4 mA\\): DA-Wert = 1854; gemessen: \\d\\.\\d+ mA$");
    QVERIFY(fx.statuses.indexOf(inputPass) >= 0);
}

void TestTeachRun::pressurePointsAtHundredPascal() {
    TeachRunFixture::Config config;
    config.rangeIndex = 1;
    TeachRunFixture fx(config);
    fx.chooseGroups({"CheckBox_intDruck"}, false);
    fx.click("ButtonTeach");

    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    QCOMPARE(setPointMagnitudes(fx.bench->pressureController().log()),
             (QList<int>{120, 100, 80, 60, 40, 20, 20, 40, 60, 80, 100, 120}));
    QStringList lines = {"DTR=0", "RTS=0"};
    for (int index : PressurePoints::taughtIndices()) {
        const LineSide side = PressurePoints::lineSide(PressurePoints::generated(index, 1));
        lines << (side.dtr ? "DTR=1" : "DTR=0") << (side.rts ? "RTS=1" : "RTS=0");
        const int at = fx.seenIndex(PressurePoints::teachCommand(index));
        QCOMPARE(fx.seen.at(at).appliedPa, double(PressurePoints::generated(index, 1)));
    }
    QCOMPARE(fx.line->modemLines, lines);
    QCOMPARE(fx.line->commands.mid(0, 2), (QStringList{">MTeach", ">MeasRange 1"}));

    // Every controlled point is polled until three "YES" come in a row and checked once more
    // after its value is taken.
    const int at9 = fx.seenIndex(">TPStuetz9");
    const int at11 = fx.seenIndex(">TPStuetz11");
    const int at13 = fx.seenIndex(">TPStuetz13");
    QStringList beforeNine = fx.benchBetween(fx.seenIndex(">TPStuetz7"), at9);
    QCOMPARE(beforeNine.mid(0, 2), (QStringList{" Stable?", " _pcs4 func ctrl 20 Pa"}));
    QVERIFY(beforeNine.size() >= 5);
    QCOMPARE(beforeNine.mid(beforeNine.size() - 3), QStringList(3, " Stable?"));
    // 0 Pa: vented and taken without a stability poll, then on to index 13.
    QCOMPARE(fx.benchBetween(at9, at11), (QStringList{" Stable?", " Vent"}));
    QVERIFY(!fx.seen.at(at11).lines.dtr && !fx.seen.at(at11).lines.rts);
    QCOMPARE(fx.seen.at(at11 + 1).command, QStringLiteral(">TPStuetz13"));
    const QStringList afterZero = fx.benchBetween(at11, at13);
    QCOMPARE(afterZero.first(), QStringLiteral(" _pcs4 func ctrl 20 Pa"));
    QCOMPARE(afterZero.count(" Stable?"), afterZero.size() - 1);
    QVERIFY(fx.statuses.contains("int. Druck: Stützstelle 11 (0 Pa) wird generiert ..."));
    QVERIFY(fx.statuses.contains("int. Druck: Stützstelle 11 (0 Pa) gespeichert."));
    QVERIFY(fx.statuses.indexOf(QRegularExpression("Stützstelle 12 ")) < 0);
    QVERIFY(qAbs(number(fx.label("PM0")) - 32768) <= 3);
    QVERIFY(qAbs(number(fx.label("M120")) - sim::AnalogFrontEnd::pressureCounts(-120, 100)) <= 3);
}

void TestTeachRun::groupsLeftOutAreDisabled() {
    TeachRunFixture fx;
    fx.chooseGroups({"CheckBox_OUT_Spannung"}, false);
    fx.ctl<QLabel>("I4mA")->setText("812");
    fx.ctl<QLabel>("U10V")->setText("999");
    fx.click("ButtonTeach");

    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    for (const TeachRun::Group &group : TeachRun::groups()) {
        const bool taught = group.checkBox == QLatin1String("CheckBox_OUT_Spannung");
        for (const QString &label : group.labels)
            QVERIFY2(fx.labelEnabled(label) == taught, qPrintable(label));
    }
    QCOMPARE(fx.label("I4mA"), QStringLiteral("812"));
    QVERIFY(fx.label("U10V") != QLatin1String("999"));
    QVERIFY(fx.labelEnabled("M120korr"));
    QStringList kept = withoutDaCommands(fx.line->commands);
    QCOMPARE(kept, (QStringList{">MTeach", ">StVDC1 " + fx.label("U0V"),
                                ">StVDC3 " + fx.label("U10V"), "SavePar", ">MTeach"}));
    QVERIFY(fx.bench->pressureController().log().isEmpty());
    // A second run leaves the labels as the first one left them: nothing enables them again.
    fx.chooseGroups(TeachRunFixture::AllGroups);
    fx.ctl<QComboBox>("MeasRange1")->setCurrentIndex(-1);
    fx.click("ButtonTeach"); // ends at once: no range chosen
    QVERIFY(!fx.labelEnabled("I4mA"));
}

void TestTeachRun::noGroupChosenTouchesNothing() {
    TeachRunFixture fx;
    fx.chooseGroups({});
    fx.ctl<QListWidget>("ListBox1")->addItem("old line");
    fx.click("ButtonTeach");

    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    QCOMPARE(fx.statuses, QStringList{"Teachen erfolgreich beendet."});
    QCOMPARE(fx.line->opens, 0);
    QVERIFY(fx.line->commands.isEmpty());
    QVERIFY(fx.line->modemLines.isEmpty());
    QVERIFY(fx.bench->log().isEmpty());
    QVERIFY(fx.prompts->messages.isEmpty() && fx.prompts->errors.isEmpty());
    for (const TeachRun::Group &group : TeachRun::groups()) {
        for (const QString &label : group.labels)
            QVERIFY2(!fx.labelEnabled(label), qPrintable(label));
    }
    QVERIFY(fx.labelEnabled("P120korr") && fx.labelEnabled("KalibMinus"));
    QCOMPARE(fx.ctl<QListWidget>("ListBox1")->count(), 0);
    QCOMPARE(fx.lockedControls(), QString());
    QVERIFY(!fx.window().teach().runActive());
}

void TestTeachRun::simulatedDeviceIsNotTaught() {
    TeachRunFixture fx;
    fx.setOption("ZEL_Simulation", true);
    fx.chooseGroups({"CheckBox_OUT_Spannung", "CheckBox_IN1_Strom", "CheckBox_IN2_Spannung"});
    const int before = fx.line->model.savedTeachValue("IN1IStuetz1");
    fx.click("ButtonTeach");

    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    QVERIFY(fx.prompts->errors.isEmpty());
    QCOMPARE(withoutDaCommands(fx.line->commands),
             (QStringList{">MeasRange 0", "RecallWE", ">StVDC1 " + fx.label("U0V"),
                          ">StVDC3 " + fx.label("U10V")}));
    QCOMPARE(fx.line->model.savedTeachValue("IN1IStuetz1"), before);
    // The labels show the source values in millivolts.
    const int startCurrent[] = {-21, 1854, 3730, 5605, 7480, 9356, 9825};
    const int startVoltage[] = {-6, 1992, 3991, 5991, 7990, 9990, 10990};
    const int currents[] = {0, 4, 8, 12, 16, 20, 21};
    const int volts[] = {0, 2, 4, 6, 8, 10, 11};
    for (int i = 0; i < 7; ++i) {
        const QString current = "IN1I" + QString::number(currents[i]) + "mA";
        const QString voltage = "IN2U" + QString::number(volts[i]) + "V";
        QVERIFY2(qAbs(number(fx.label(current)) - startCurrent[i]) <= 10, qPrintable(current));
        QVERIFY2(qAbs(number(fx.label(voltage)) - startVoltage[i]) <= 10, qPrintable(voltage));
    }
    QVERIFY(fx.statuses.contains("IN-1: Stützstelle 3 (12 mA): Strom ok!"));
    QVERIFY(fx.statuses.contains("IN-2: Stützstelle 6 (11 V): Spannung ok!"));
    QVERIFY(fx.statuses.indexOf(QRegularExpression("Messwert wird jetzt aufgenommen")) < 0);
    QVERIFY(fx.statuses.contains("Gerät in Teachmodus versetzt."));
    QVERIFY(fx.daqUnitCodes() == (QList<int>{2, 1}));
    QCOMPARE(fx.lockedControls(), QString());
    QVERIFY(!fx.window().teach().runActive());
}

void TestTeachRun::sourceValuesShownAndRefusedInputPoint() {
    TeachRunFixture fx;
    fx.setOption("DA_Werte_statt_ZEL_Werte", true);
    fx.chooseGroups({"CheckBox_IN1_Strom"}, false);
    fx.line->override = [](const QString &command) -> std::optional<QByteArray> {
        if (command == ">TIN1IStuetz2")
            return QByteArray("TIN1IStuetz2 Err");
        return std::nullopt;
    };
    fx.click("ButtonTeach");

    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    QStringList expected = {">MTeach"};
    expected << inputCommands("TIN1IStuetz") << "SavePar"
             << ">MTeach";
    QCOMPARE(fx.line->commands, expected);
    QCOMPARE(fx.label("IN1I8mA"), QStringLiteral("9999"));
    QVERIFY(fx.statuses.contains("IN-1: Stützstelle 2 (8 mA): FEHLER!"));
    QVERIFY(fx.statuses.contains("IN-1: Stützstelle 3 (12 mA) gespeichert."));
    // The device was taught its own readings; the labels show the source values.
    QVERIFY(qAbs(number(fx.label("IN1I16mA")) - 7480) <= 10);
    QVERIFY(qAbs(fx.line->model.savedTeachValue("IN1IStuetz4") -
                 sim::AnalogFrontEnd::inputCurrentCounts(1, 16)) <= 15);
}

// The production demo: the device on a pseudo-terminal in process and the bench acting on it; a
// whole teach run converges and what it teaches is stored on the device, whatever instrument
// backend the tool settings file names.
void TestTeachRun::demoBenchTeachesTheSimulatedDevice() {
    constexpr double kWaitScale = 0.002;
    DemoBench demo(kWaitScale);
    QTemporaryDir dir;
    {
        QFile file(dir.filePath(QStringLiteral("ZEL ToolConfig.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[IEEE]\r\nBackend=visa\r\nGPIB1=7\r\n");
    }
    auto prompts = std::make_shared<TestPrompts>();
    TformMain::Options options;
    options.executableDir = dir.path();
    options.replyTimeoutMs = 2000;
    options.waitScale = kWaitScale;
    options.prompts = prompts;
    options.production = true;
    options.portDeviceOverride = demo.start();
    QVERIFY2(!options.portDeviceOverride.isEmpty(), qPrintable(demo.error()));
    options.driver = demo.driver();
    options.instrumentBench = demo.bench();
    options.demoInstruments = demo.instrumentSettings();
    TformMain window(std::move(options));
    window.ctl<QComboBox>(QStringLiteral("MeasRange1"))->setCurrentIndex(0);
    for (const QString &box : TeachRunFixture::AllGroups)
        window.ctl<QCheckBox>(box)->setChecked(true);

    window.ctl<QPushButton>(QStringLiteral("ButtonTeach"))->click();

    QVERIFY2(prompts->errors.isEmpty(), qPrintable(prompts->errors.join('|')));
    QCOMPARE(window.Status->currentMessage(), QStringLiteral("Teachen erfolgreich beendet."));
    QVERIFY(demo.device().commandLog().contains(QStringLiteral("SavePar")));
    int compared = 0;
    demo.device().withModel([&](sim::DeviceModel &model) {
        for (const TeachValueRow *row : TeachValueTable::storedRows()) {
            const QString shown = window.ctl<QLabel>(QString::fromLatin1(row->valueLabel))->text();
            QCOMPARE(model.savedTeachValue(row->deviceName), shown.toInt());
            ++compared;
        }
    });
    QCOMPARE(compared, int(TeachValueTable::storedRows().size()));
    // The valves followed the port's modem lines: the pressure points rise from minus to plus.
    int previous = -1;
    for (const TeachValueRow &row : TeachValueTable::rows()) {
        if (row.group != TeachGroup::Pressure)
            continue;
        int value = 0;
        demo.device().withModel(
            [&](sim::DeviceModel &model) { value = model.savedTeachValue(row.deviceName); });
        QVERIFY2(value > previous, row.deviceName);
        previous = value;
    }
    // The tool settings file keeps what the user set up.
    QFile file(dir.filePath(QStringLiteral("ZEL ToolConfig.ini")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("GPIB1=7"));
}

ZEL_TEST_MAIN(TestTeachRun)
#include "test_teachrun.moc"

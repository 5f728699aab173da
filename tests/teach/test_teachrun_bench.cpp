// The simulated bench instruments on their own: settling of the pressure controller, the
// valves of the modem lines, the readings and sources of the data-acquisition unit, the bus
// sessions, and the DA search converging on them as on a real bench.
#include "sim/AnalogFrontEnd.h"
#include "sim/DeviceModel.h"
#include "sim/InstrumentBench.h"
#include "sim/ModelCoupling.h"
#include "teach/AnalogPoints.h"
#include "teach/DaSearch.h"
#include "teach/InstrumentCommands.h"

#include <QRegularExpression>
#include <QtTest>
#include <cmath>

namespace {

// Remembers what the instruments did to the device; the output is set by the test.
class RecordingCoupling : public sim::DeviceCoupling {
public:
    double generated = -1;
    double outputMa = 0, outputV = 0;
    double inputMa[3] = {0, 0, 0}, inputV[3] = {0, 0, 0};
    void setGeneratedPressure(double pascal) override { generated = pascal; }
    double outputCurrentMa() override { return outputMa; }
    double outputVoltageV() override { return outputV; }
    void setInputCurrent(int input, double milliamps) override { inputMa[input] = milliamps; }
    void setInputVoltage(int input, double volts) override { inputV[input] = volts; }
};

struct ModelBench {
    sim::DeviceModel model{0, 7};
    sim::ModemLines lines;
    std::shared_ptr<sim::ModelCoupling> coupling = std::make_shared<sim::ModelCoupling>(
        [this](const std::function<void(sim::DeviceModel &)> &fn) { fn(model); },
        [this] { return lines; });
    sim::InstrumentBench bench{coupling, sim::InstrumentBench::Config()};
};

QByteArray ask(sim::DaqUnitSim &daq, const QByteArray &query) {
    daq.write(query);
    return daq.read(1000);
}

// A DA search pass as the teach run makes it, straight on the simulated bench.
class BenchDriver : public DaSearch::Driver {
public:
    BenchDriver(ModelBench &bench, const InputSection *input, Quantity quantity)
        : bench_(bench), input_(input), quantity_(quantity) {}
    double measureAt(int da) override {
        sim::DaqUnitSim &daq = bench_.bench.daqUnit();
        const sim::DaqUnitSim::Wiring &w = daq.wiring();
        QByteArray channel;
        if (input_) {
            const QByteArray source =
                quantity_ == Quantity::Current ? w.inputCurrentSource : w.inputVoltageSource;
            daq.write(
                InstrumentCommands::sourceVoltage(da, QString::fromLatin1(source)).toLatin1());
            channel =
                quantity_ == Quantity::Current ? w.inputCurrentMeasure : w.inputVoltageMeasure;
        } else {
            bench_.model.reply(AnalogPoints::outputDaCommand(quantity_, da).toLatin1());
            channel = quantity_ == Quantity::Current ? w.outputCurrent : w.outputVoltage;
        }
        const QString reply = QString::fromLatin1(
            ask(daq,
                quantity_ == Quantity::Current
                    ? InstrumentCommands::measureCurrent(QString::fromLatin1(channel)).toLatin1()
                    : InstrumentCommands::measureVoltage(QString::fromLatin1(channel)).toLatin1()));
        return quantity_ == Quantity::Current ? InstrumentCommands::currentMilliamps(reply)
                                              : InstrumentCommands::reading(reply);
    }
    void passMeasured(int, double) override {}
    bool abortRequested() override { return false; }

private:
    ModelBench &bench_;
    const InputSection *input_;
    Quantity quantity_;
};

} // namespace

class TestTeachRunBench : public QObject {
    Q_OBJECT

private slots:
    void controllerSettlesBeforeItIsStable();
    void modemLinesChooseThePressurePort();
    void daqReadsTheDeviceOutput();
    void daqSourcesTheInputs();
    void benchSessions();
    void daSearchConvergesOnTheBench();
};

void TestTeachRunBench::controllerSettlesBeforeItIsStable() {
    RecordingCoupling coupling;
    std::int64_t now = 0;
    sim::PressureControllerSim controller(coupling, [&now] { return now; });
    controller.setSettlingMs(1000);
    QVERIFY(!controller.configured());
    for (const char *init : {" Outform 1", " Chan B", " Sensor Secondary, 2"})
        controller.write(init);
    QVERIFY(controller.configured());

    controller.write(" _pcs4 func ctrl 250 Pa");
    QVERIFY(!controller.vented());
    controller.write(" Stable?");
    QCOMPARE(controller.read(1000), QByteArray("NO\r\n"));
    now = 500;
    controller.write(" Stable?");
    QCOMPARE(coupling.generated, 125.0); // halfway up the ramp
    QCOMPARE(controller.read(2), QByteArray("NO"));
    QCOMPARE(controller.read(1000), QByteArray("\r\n"));
    QCOMPARE(controller.read(1000), QByteArray()); // nothing asked, nothing to read
    now = 1000;
    controller.write(" Stable?");
    QCOMPARE(controller.read(1000), QByteArray("YES\r\n"));
    QCOMPARE(coupling.generated, 250.0);

    controller.write(" Vent");
    QVERIFY(controller.vented());
    controller.write(" Stable?");
    QCOMPARE(controller.read(1000), QByteArray("NO\r\n"));
    now = 2000;
    QCOMPARE(controller.pressurePa(), 0.0);

    // The sign never reaches the controller; anything else it does not know is counted.
    controller.write(" _pcs4 func ctrl -50 Pa");
    controller.write(" _pcs4 func ctrl fifty Pa");
    controller.write(" Zero");
    QCOMPARE(controller.unknownCommands(), 3);
    QCOMPARE(controller.targetPa(), 0.0);

    controller.queueStableReply("Y E S\r\n");
    controller.setStableOverride("NO\r\n");
    controller.write(" Stable?");
    QCOMPARE(controller.read(1000), QByteArray("Y E S\r\n"));
    controller.write(" Stable?");
    QCOMPARE(controller.read(1000), QByteArray("NO\r\n"));
    QCOMPARE(controller.log().size(), 14);
}

void TestTeachRunBench::modemLinesChooseThePressurePort() {
    QCOMPARE(sim::ModelCoupling::sideSign({true, false}), 1.0);
    QCOMPARE(sim::ModelCoupling::sideSign({false, true}), -1.0);
    QCOMPARE(sim::ModelCoupling::sideSign({false, false}), 0.0);
    QCOMPARE(sim::ModelCoupling::sideSign({true, true}), 0.0);

    ModelBench b;
    b.lines = {false, true};
    b.coupling->setGeneratedPressure(300);
    QCOMPARE(b.model.appliedPressure(), -300.0);
    b.lines = {true, false};
    b.coupling->linesChanged();
    QCOMPARE(b.model.appliedPressure(), 300.0);
    b.lines = {false, false};
    b.coupling->linesChanged();
    QCOMPARE(b.model.appliedPressure(), 0.0);
    // What the device then records is the raw value of the pressure on its port.
    b.lines = {false, true};
    b.coupling->setGeneratedPressure(100);
    b.model.setTeachMode(true);
    b.model.setNoiseEnabled(false);
    QCOMPARE(b.model.reply(">TPStuetz7"),
             "TPStuetz7 " + QByteArray::number(sim::AnalogFrontEnd::pressureCounts(-100, 250)));
}

void TestTeachRunBench::daqReadsTheDeviceOutput() {
    ModelBench b;
    sim::DaqUnitSim &daq = b.bench.daqUnit();
    daq.setNoise(0, 0);
    b.model.reply(">IDC 793");
    const QByteArray reply = ask(daq, "MEAS:CURR:DC? 0.1,0.0000001,(@121)");
    QVERIFY2(QRegularExpression("^\\+\\d\\.\\d{8}E-0\\d\\n$")
                 .match(QString::fromLatin1(reply))
                 .hasMatch(),
             reply.constData());
    const double expected = sim::AnalogFrontEnd::outputCurrentMa(793);
    const double read = InstrumentCommands::currentMilliamps(QString::fromLatin1(reply));
    // A small gain and offset error: near the output, but not equal to it.
    QVERIFY(std::fabs(read - expected) < 0.01);
    QVERIFY(read != expected);
    // In current mode the voltage output delivers nothing; then the voltage mode.
    const double noVolts = InstrumentCommands::reading(
        QString::fromLatin1(ask(daq, "MEAS:VOLT:DC? 100,0.001,(@101)")));
    QVERIFY(std::fabs(noVolts) < 0.002);
    b.model.reply(">VDC 3376");
    const double volts = InstrumentCommands::reading(
        QString::fromLatin1(ask(daq, "MEAS:VOLT:DC? 100,0.001,(@101)")));
    QVERIFY(std::fabs(volts - sim::AnalogFrontEnd::outputVoltageV(3376)) < 0.01);
    // A channel with nothing on it.
    const double open = InstrumentCommands::currentMilliamps(
        QString::fromLatin1(ask(daq, "MEAS:CURR:DC? 0.1,0.0000001,(@199)")));
    QVERIFY(std::fabs(open) < 0.002);

    // With noise, two readings differ, but only a little.
    daq.setNoise(0.0004, 0.0003);
    const double a = InstrumentCommands::reading(
        QString::fromLatin1(ask(daq, "MEAS:VOLT:DC? 100,0.001,(@101)")));
    const double c = InstrumentCommands::reading(
        QString::fromLatin1(ask(daq, "MEAS:VOLT:DC? 100,0.001,(@101)")));
    QVERIFY(a != c && std::fabs(a - c) < 0.003);

    daq.queueMeasureReply("garbage\n");
    QCOMPARE(ask(daq, "MEAS:VOLT:DC? 100,0.001,(@101)"), QByteArray("garbage\n"));
    daq.write("MEAS:RES? (@101)");
    daq.write("SOUR:VOLT 1.0");
    QCOMPARE(daq.unknownCommands(), 2);
}

void TestTeachRunBench::daqSourcesTheInputs() {
    ModelBench b;
    sim::DaqUnitSim &daq = b.bench.daqUnit();
    daq.setNoise(0, 0);
    QCOMPARE(daq.multiplexerCode(), -1);
    // Code 3: IN-2 current; the loop gives 4 mA at the start value of that point.
    daq.write("SOUR:DIG:DATA 3,(@301)");
    daq.write("SOUR:VOLT 1.854,(@305)");
    QCOMPARE(daq.multiplexerCode(), 3);
    QCOMPARE(daq.sourceVolts("305"), 1.854);
    QVERIFY(std::fabs(b.model.inputCurrent(2) - 4.0) < 0.002);
    QCOMPARE(b.model.inputCurrent(1), 12.0); // the other input keeps its signal
    const double loop = InstrumentCommands::currentMilliamps(
        QString::fromLatin1(ask(daq, "MEAS:CURR:DC? 0.1,0.0000001,(@122)")));
    QVERIFY(std::fabs(loop - 4.0) < 0.01);
    QVERIFY(std::fabs(sim::DaqUnitSim::loopCurrentMa(-0.021)) < 1e-9);

    // Code 0: IN-1 voltage; the current loop is open then.
    daq.write("SOUR:DIG:DATA 0,(@301)");
    daq.write("SOUR:VOLT 9.990,(@304)");
    QVERIFY(std::fabs(b.model.inputVoltage(1) - 10.0) < 0.001);
    const double open = InstrumentCommands::currentMilliamps(
        QString::fromLatin1(ask(daq, "MEAS:CURR:DC? 0.1,0.0000001,(@122)")));
    QVERIFY(std::fabs(open) < 0.002);
    const double volts = InstrumentCommands::reading(
        QString::fromLatin1(ask(daq, "MEAS:VOLT:DC? 100,0.001,(@102)")));
    QVERIFY(std::fabs(volts - 10.0) < 0.01);

    // A code written to another channel does not switch the multiplexer.
    daq.write("SOUR:DIG:DATA 1,(@302)");
    QCOMPARE(daq.multiplexerCode(), 0);
    QCOMPARE(daq.unknownCommands(), 0);
}

void TestTeachRunBench::benchSessions() {
    ModelBench b;
    QCOMPARE(b.bench.open("GPIB0::5::INSTR"), 0);
    const int controller = b.bench.open("GPIB0::1::INSTR");
    const int daq = b.bench.open("GPIB0::9::INSTR");
    QVERIFY(controller > 0 && daq > 0 && controller != daq);
    QCOMPARE(b.bench.openSessions(), 2);
    b.bench.pressureController().setSettlingMs(0);
    b.bench.write(controller, " Stable?");
    b.bench.write(daq, "SOUR:DIG:DATA 2,(@301)");
    QCOMPARE(b.bench.read(controller, 3), QByteArray("YES"));
    QCOMPARE(b.bench.read(controller, 1000), QByteArray("\r\n"));
    QCOMPARE(b.bench.daqUnit().multiplexerCode(), 2);
    b.bench.close(controller);
    b.bench.write(controller, " Vent"); // closed: goes nowhere
    QCOMPARE(b.bench.read(controller, 1000), QByteArray());
    b.bench.close(daq);
    b.bench.close(daq);
    QCOMPARE(b.bench.openSessions(), 0);
    QCOMPARE(b.bench.log(),
             (QByteArrayList{"open GPIB0::5::INSTR", "open GPIB0::1::INSTR", "open GPIB0::9::INSTR",
                             "1>  Stable?", "2> SOUR:DIG:DATA 2,(@301)", "close 1", "close 2"}));
    QCOMPARE(b.bench.pressureController().log(), QByteArrayList{" Stable?"});
}

void TestTeachRunBench::daSearchConvergesOnTheBench() {
    for (Quantity quantity : {Quantity::Current, Quantity::Voltage}) {
        for (const OutputPoint &point : AnalogPoints::outputPoints(quantity)) {
            ModelBench b;
            BenchDriver driver(b, nullptr, quantity);
            const DaSearch::Result result = DaSearch::run(
                driver, {point.index, double(point.target), point.startDa, point.startStep, true});
            const int ideal = quantity == Quantity::Current
                                  ? sim::AnalogFrontEnd::daForCurrent(point.target)
                                  : sim::AnalogFrontEnd::daForVoltage(point.target);
            QVERIFY2(qAbs(result.da - ideal) <= 8, point.valueLabel);
            QVERIFY2(result.passes < 40, point.valueLabel);
        }
    }
    for (const InputSection &section : AnalogPoints::inputSections()) {
        for (const InputPoint &point : AnalogPoints::inputPoints(section.quantity)) {
            ModelBench b;
            b.bench.daqUnit().write(InstrumentCommands::digitalData(
                                        section.multiplexerCode,
                                        QString::fromLatin1(b.bench.daqUnit().wiring().multiplexer))
                                        .toLatin1());
            BenchDriver driver(b, &section, section.quantity);
            const DaSearch::Result result =
                DaSearch::run(driver, {point.index, double(point.target), point.startMillivolts,
                                       AnalogPoints::InputStartStep, false});
            const double signal = section.quantity == Quantity::Current
                                      ? sim::DaqUnitSim::loopCurrentMa(result.da / 1000.0)
                                      : sim::DaqUnitSim::deliveredVolts(result.da / 1000.0);
            const QByteArray name = AnalogPoints::inputValueLabel(section, point).toLatin1();
            QVERIFY2(std::fabs(signal - point.target) < 0.03, name.constData());
            QVERIFY2(result.passes < 40, name.constData());
        }
    }
}

QTEST_GUILESS_MAIN(TestTeachRunBench)
#include "test_teachrun_bench.moc"

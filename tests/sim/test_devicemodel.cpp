#include "sim/DeviceModel.h"
#include "sim/SettingSpec.h"
#include "sim/TeachValueSpec.h"

#include <QtTest>

#include <algorithm>
#include <cstdint>

using sim::DeviceModel;

namespace {

// Value part of "Name value"; empty when the reply does not start with the name and a blank.
QByteArray valueOf(const QByteArray &reply, const QByteArray &name) {
    if (!reply.startsWith(name + ' '))
        return {};
    return reply.mid(name.size() + 1);
}

double number(const QByteArray &text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : qQNaN();
}

} // namespace

class TestDeviceModel : public QObject {
    Q_OBJECT

private slots:
    void everySettingAnswersItsQuery();
    void setsAreTakenAndRefused();
    void passwordAndAddress();
    void factoryValuesFollowTheRangeLastSet();
    void saveSetAndResetKeepOnlyWhatWasSaved();
    void teachValuesQueryAndSet();
    void teachModeTogglesAndGuardsTeachCommands();
    void inputAndOutputTeach();
    void zeroingWindow();
    void recalibrationStateMachine();
    void variantWithoutRecalibration();
    void livePressure();
    void liveInputs();
    void noiseIsSeededAndSmall();
    void unknownCommands();
};

void TestDeviceModel::everySettingAnswersItsQuery() {
    DeviceModel model(0);
    for (const sim::SettingSpec &spec : sim::SettingSpec::table()) {
        const QByteArray name = spec.name;
        const QByteArray value = valueOf(model.reply("?" + name), name);
        QVERIFY2(!value.isEmpty(), name.constData());
        QCOMPARE(number(value), spec.factory250);
    }
    QCOMPARE(model.reply("?ScalPdown"), QByteArray("ScalPdown -250"));
    QCOMPARE(model.reply("?MeasRange"), QByteArray("MeasRange 0"));
    QCOMPARE(model.reply("?UnitP"), QByteArray("UnitP 0"));
    QCOMPARE(model.reply("?DeviceAdr"), QByteArray("DeviceAdr 1"));

    DeviceModel small(1);
    QCOMPARE(small.reply("?ScalPup"), QByteArray("ScalPup 100"));
    QCOMPARE(small.reply("?MeasRange"), QByteArray("MeasRange 1"));
    QCOMPARE(small.fullScalePa(), 100.0);
}

void TestDeviceModel::setsAreTakenAndRefused() {
    DeviceModel model;
    QCOMPARE(model.reply(">ScalPdown 12.5"), QByteArray("OK"));
    QCOMPARE(model.reply("?ScalPdown"), QByteArray("ScalPdown 12.5"));
    QCOMPARE(model.reply(">ScalPdown -250.0"), QByteArray("OK"));
    QCOMPARE(model.reply("?ScalPdown"), QByteArray("ScalPdown -250"));
    QCOMPARE(model.reply(">FilterP 0.1"), QByteArray("OK"));
    QCOMPARE(model.reply("?FilterP"), QByteArray("FilterP 0.1"));
    QCOMPARE(model.reply(">WarnPHyst +3"), QByteArray("OK"));
    QCOMPARE(model.setting("WarnPHyst"), 3.0);

    // Out of range, malformed, or without a value: refused, the old value stays.
    for (const QByteArray &bad :
         {QByteArray(">ScalPup 250.5"), QByteArray(">ScalPup 1.000.5"), QByteArray(">ScalPup 12,5"),
          QByteArray(">ScalPup "), QByteArray(">ScalPup abc"), QByteArray(">ScalPup 1e2"),
          QByteArray(">ScalPup  5"), QByteArray(">ScalPup"), QByteArray(">WarnPHyst -1")}) {
        QCOMPARE(model.reply(bad), QByteArray("Err_ValRange"));
    }
    QCOMPARE(model.setting("ScalPup"), 250.0);
    QCOMPARE(model.setting("WarnPHyst"), 3.0);

    // Choices take exactly their index range.
    QCOMPARE(model.reply(">RelAssign 7"), QByteArray("OK"));
    QCOMPARE(model.reply("?RelAssign"), QByteArray("RelAssign 7"));
    QCOMPARE(model.reply(">RelAssign 8"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">UnitIN1 3"), QByteArray("OK"));
    QCOMPARE(model.reply(">SignalP 3"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">Sound -1"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">Sound 1.0"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">MeasRange 1"), QByteArray("OK"));
    QCOMPARE(model.measRange(), 1);
    QCOMPARE(model.setting("RelAssign"), 7.0);
}

void TestDeviceModel::passwordAndAddress() {
    DeviceModel model;
    QCOMPARE(model.reply(">Password 0042"), QByteArray("OK"));
    QCOMPARE(model.reply("?Password"), QByteArray("Password 42"));
    QCOMPARE(model.reply(">Password 7.5"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">Password 12345"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">Password -1"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">Password "), QByteArray("OK")); // no password
    QCOMPARE(model.reply("?Password"), QByteArray("Password 0"));

    model.setSetting("DeviceAdr", 5);
    QCOMPARE(model.reply("?DeviceAdr"), QByteArray("DeviceAdr 5"));
    QVERIFY(model.reply(">DeviceAdr 7").startsWith("Err"));
    QCOMPARE(model.setting("DeviceAdr"), 5.0);
}

void TestDeviceModel::factoryValuesFollowTheRangeLastSet() {
    DeviceModel model(0);
    model.setSetting("DeviceAdr", 9);
    QCOMPARE(model.reply(">ScalPup 17"), QByteArray("OK"));
    QCOMPARE(model.reply(">MeasRange 1"), QByteArray("OK"));
    QCOMPARE(model.reply("RecallWE"), QByteArray("OK"));
    for (const sim::SettingSpec &spec : sim::SettingSpec::table()) {
        if (spec.kind != sim::SettingSpec::Kind::Address)
            QCOMPARE(model.setting(spec.name), spec.factory100);
    }
    QCOMPARE(model.reply("?WarnPup"), QByteArray("WarnPup 80"));
    QCOMPARE(model.reply("?DeviceAdr"), QByteArray("DeviceAdr 9"));
    QCOMPARE(model.savedSetting("ScalPup"), 100.0); // factory values are stored at once

    QCOMPARE(model.reply(">MeasRange 0"), QByteArray("OK"));
    QCOMPARE(model.reply("RecallWE"), QByteArray("OK"));
    QCOMPARE(model.reply("?ScalPup"), QByteArray("ScalPup 250"));
    QCOMPARE(model.reply("?MeasRange"), QByteArray("MeasRange 0"));
    // The two variants really differ.
    QVERIFY(sim::SettingSpec::table()[sim::SettingSpec::indexOf("WarnPup")].factory100 !=
            sim::SettingSpec::table()[sim::SettingSpec::indexOf("WarnPup")].factory250);
}

void TestDeviceModel::saveSetAndResetKeepOnlyWhatWasSaved() {
    DeviceModel model;
    QCOMPARE(model.reply(">WarnPup 150"), QByteArray("OK"));
    QCOMPARE(model.reply("SaveSet"), QByteArray("OK"));
    QCOMPARE(model.reply(">WarnPup 120"), QByteArray("OK"));
    QCOMPARE(model.reply(">MTeach"), QByteArray("MTeach 1"));
    QCOMPARE(model.reply(">TCalibPlus"), QByteArray("OK"));
    QCOMPARE(model.reply("Reset"), QByteArray("OK"));
    QCOMPARE(model.reply("?WarnPup"), QByteArray("WarnPup 150"));
    QVERIFY(!model.teachMode());
    QVERIFY(!model.recalibrationActive());
    QCOMPARE(model.resetCount(), 1);
}

void TestDeviceModel::teachValuesQueryAndSet() {
    DeviceModel model(0);
    int count = 0;
    for (const sim::TeachValueSpec &spec : sim::TeachValueSpec::table()) {
        const QByteArray value = valueOf(model.reply(QByteArray("?") + spec.name), spec.name);
        QVERIFY2(!value.isEmpty(), spec.name);
        QCOMPARE(value.toInt(), model.teachValue(spec.name));
        ++count;
    }
    QCOMPARE(count, 61);
    // Ideal support points rise with the pressure; corrections and re-calibration start at 0.
    QVERIFY(model.teachValue("PStuetz0") < model.teachValue("PStuetz11"));
    QVERIFY(model.teachValue("PStuetz11") < model.teachValue("PStuetz22"));
    QCOMPARE(model.teachValue("PStuetzKorr5"), 0);
    QCOMPARE(model.teachValue("CalibPlus"), 0);
    QVERIFY(model.teachValue("StIDC1") < model.teachValue("StIDC2"));

    QCOMPARE(model.reply(">PStuetz0 123"), QByteArray("OK"));
    QCOMPARE(model.reply("?PStuetz0"), QByteArray("PStuetz0 123"));
    QCOMPARE(model.reply(">StVDC3 +0042"), QByteArray("OK"));
    QCOMPARE(model.reply("?StVDC3"), QByteArray("StVDC3 42"));
    QCOMPARE(model.reply(">IN2UStuetz6 12.5"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">IN2UStuetz6 "), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">StIDC0 5000"), QByteArray("Err_ValRange")); // beyond the 12-bit DA
    QCOMPARE(model.reply("?PStuetz2"), QByteArray("Err_CmdNotExist")); // not a stored point

    QCOMPARE(model.reply("SavePar"), QByteArray("OK"));
    QCOMPARE(model.reply(">PStuetz0 456"), QByteArray("OK"));
    QCOMPARE(model.savedTeachValue("PStuetz0"), 123);
    QCOMPARE(model.reply("Reset"), QByteArray("OK"));
    QCOMPARE(model.teachValue("PStuetz0"), 123);
}

void TestDeviceModel::teachModeTogglesAndGuardsTeachCommands() {
    DeviceModel model(1);
    model.setNoiseEnabled(false);
    QCOMPARE(model.reply(">TPStuetz0"), QByteArray("Err_NotActive"));
    const QByteArray on = model.reply(">MTeach");
    QCOMPARE(on, QByteArray("MTeach 1"));
    QCOMPARE(on.at(7), '1');
    QVERIFY(model.teachMode());

    model.setAppliedPressure(-120);
    const QByteArray low = valueOf(model.reply(">TPStuetz0"), "TPStuetz0");
    model.setAppliedPressure(120);
    const QByteArray high = valueOf(model.reply(">TPStuetz22"), "TPStuetz22");
    QVERIFY(!low.isEmpty() && !high.isEmpty());
    QVERIFY(low.toInt() < high.toInt());
    QCOMPARE(model.teachValue("PStuetz22"), high.toInt());
    QVERIFY(high.toInt() <= 65535 && low.toInt() >= 0);
    QCOMPARE(model.reply(">TPStuetz2"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">TPStuetz23"), QByteArray("Err_ValRange"));

    const QByteArray off = model.reply(">MTeach");
    QCOMPARE(off, QByteArray("MTeach 0"));
    QCOMPARE(off.at(7), '0');
    QCOMPARE(model.reply(">TPStuetz22"), QByteArray("Err_NotActive"));
}

void TestDeviceModel::inputAndOutputTeach() {
    DeviceModel model;
    model.setNoiseEnabled(false);
    model.setTeachMode(true);
    model.setInputCurrent(1, 4.0);
    const int at4 = valueOf(model.reply(">TIN1IStuetz1"), "TIN1IStuetz1").toInt();
    model.setInputCurrent(1, 20.0);
    const int at20 = valueOf(model.reply(">TIN1IStuetz5"), "TIN1IStuetz5").toInt();
    QVERIFY(at4 > 0 && at20 > at4);
    QCOMPARE(model.teachValue("IN1IStuetz5"), at20);
    model.setInputVoltage(2, 11.0);
    const QByteArray v = model.reply(">TIN2UStuetz6");
    QVERIFY(v.startsWith("TIN2UStuetz6 "));
    QCOMPARE(model.teachValue("IN2UStuetz6"), valueOf(v, "TIN2UStuetz6").toInt());
    QVERIFY(model.reply(">TIN2IStuetz0").startsWith("TIN2IStuetz0 "));
    QCOMPARE(model.reply(">TIN1UStuetz7"), QByteArray("Err_ValRange"));

    QCOMPARE(model.reply(">IDC 793"), QByteArray("OK"));
    QCOMPARE(model.outputMode(), DeviceModel::OutputMode::Current);
    QCOMPARE(model.outputDa(), 793);
    QVERIFY(qAbs(model.outputCurrentMa() - 4.0) < 0.01);
    QCOMPARE(model.outputVoltageV(), 0.0);
    QCOMPARE(model.reply(">VDC 3376"), QByteArray("OK"));
    QCOMPARE(model.outputMode(), DeviceModel::OutputMode::Voltage);
    QVERIFY(qAbs(model.outputVoltageV() - 10.0) < 0.01);
    QCOMPARE(model.reply(">VDC 4096"), QByteArray("Err_ValRange"));
    QCOMPARE(model.reply(">IDC x"), QByteArray("Err_ValRange"));
    for (const QByteArray &store :
         {QByteArray(">StIDC0 80"), QByteArray(">StIDC1 793"), QByteArray(">StIDC2 3707"),
          QByteArray(">StVDC1 70"), QByteArray(">StVDC3 3376")})
        QCOMPARE(model.reply(store), QByteArray("OK"));
    QCOMPARE(model.teachValue("StIDC0"), 80);
}

void TestDeviceModel::zeroingWindow() {
    DeviceModel model;
    model.setNoiseEnabled(false);
    std::int64_t now = 1000;
    model.setClock([&now] { return now; });
    model.setZeroDurationMs(4000);
    model.setAppliedPressure(40);
    QCOMPARE(model.reply("?IP"), QByteArray("IP 40.0"));

    QCOMPARE(model.reply(">TCalibPlus"), QByteArray("OK"));
    QCOMPARE(model.reply("MZ"), QByteArray("OK"));
    QVERIFY(model.zeroingActive());
    model.setAppliedPressure(250);
    QCOMPARE(model.reply("?IP"), QByteArray("IP 0.0"));
    QCOMPARE(model.reply(">TCalibOK"), QByteArray("Err_ZPCC_active"));
    now += 3999;
    QCOMPARE(model.reply(">TCalibOK"), QByteArray("Err_ZPCC_active"));
    now += 1;
    QVERIFY(!model.zeroingActive());
    // The pressure present at "MZ" is the new zero.
    QCOMPARE(model.zeroOffsetPa(), 40.0);
    QCOMPARE(model.reply("?IP"), QByteArray("IP 210.0"));
    QVERIFY(model.reply(">TCalibOK").startsWith("TCalibOK "));
}

void TestDeviceModel::recalibrationStateMachine() {
    DeviceModel model(1);
    model.setNoiseEnabled(false);
    QCOMPARE(model.reply(">TCalibOK"), QByteArray("Err_NotActive"));
    QCOMPARE(model.reply(">TCalibFinished"), QByteArray("Err_NotActive"));

    QCOMPARE(model.reply(">TCalibMinus"), QByteArray("OK"));
    QCOMPARE(model.recalibrationSide(), DeviceModel::CalibSide::Minus);
    model.setAppliedPressure(100); // wrong side
    QCOMPARE(model.reply(">TCalibOK"), QByteArray("Err_ValRange"));
    model.setAppliedPressure(-250); // +/-250 Pa pressure on a +/-100 Pa device
    QCOMPARE(model.reply(">TCalibOK"), QByteArray("Err_ValRange"));
    model.setAppliedPressure(-95); // inside the band of 10 Pa
    const QByteArray ok = model.reply(">TCalibOK");
    QVERIFY2(ok.startsWith("TCalibOK "), ok.constData());
    const int reading = valueOf(ok, "TCalibOK").toInt();
    QVERIFY(reading > 0 && reading <= 65535);
    QCOMPARE(model.teachValue("CalibMinus"), reading);
    QCOMPARE(model.teachValue("CalibPlus"), 0);
    QVERIFY(model.recalibrationActive());
    QCOMPARE(model.reply(">TCalibFinished"), QByteArray("OK"));
    QVERIFY(!model.recalibrationActive());
    QCOMPARE(model.reply(">TCalibFinished"), QByteArray("Err_NotActive"));

    QCOMPARE(model.reply(">MeasRange 0"), QByteArray("OK"));
    QCOMPARE(model.reply(">TCalibPlus"), QByteArray("OK"));
    model.setAppliedPressure(100);
    QCOMPARE(model.reply(">TCalibOK"), QByteArray("Err_ValRange"));
    model.setAppliedPressure(250);
    QVERIFY(model.reply(">TCalibOK").startsWith("TCalibOK "));
    QVERIFY(model.teachValue("CalibPlus") > model.teachValue("CalibMinus"));

    QCOMPARE(model.reply("RecallCalib"), QByteArray("OK"));
    QCOMPARE(model.teachValue("CalibPlus"), 0);
    QCOMPARE(model.teachValue("CalibMinus"), 0);
}

void TestDeviceModel::variantWithoutRecalibration() {
    DeviceModel model;
    model.setRecalibrationSupported(false);
    model.setAppliedPressure(250);
    for (const QByteArray &cmd :
         {QByteArray(">TCalibPlus"), QByteArray(">TCalibMinus"), QByteArray(">TCalibOK"),
          QByteArray(">TCalibFinished"), QByteArray("RecallCalib")})
        QCOMPARE(model.reply(cmd), QByteArray("Err_CmdNotExist"));
    QVERIFY(!model.recalibrationActive());
    QCOMPARE(model.reply("?UnitP"), QByteArray("UnitP 0")); // the rest still works
}

void TestDeviceModel::livePressure() {
    DeviceModel model(0);
    model.setNoiseEnabled(false);
    model.setAppliedPressure(12.345);
    QCOMPARE(model.reply("?IP"), QByteArray("IP 12.3"));
    model.setAppliedPressure(-0.01);
    QCOMPARE(model.reply("?IP"), QByteArray("IP 0.0"));
    model.setAppliedPressure(123.456);
    model.setSetting("UnitP", 1);
    QCOMPARE(model.reply("?IP"), QByteArray("IP 1.235"));
    model.setSetting("UnitP", 2);
    QCOMPARE(model.reply("?IP"), QByteArray("IP 1.235"));
    model.setSetting("UnitP", 0);

    model.setAppliedPressure(300);
    QCOMPARE(model.reply("?IP"), QByteArray("IP 300.0"));
    model.setAppliedPressure(300.5);
    QCOMPARE(model.reply("?IP"), QByteArray("Err_Overflow"));
    model.setAppliedPressure(-300.5);
    QCOMPARE(model.reply("?IP"), QByteArray("Err_Underflow"));
    // The +/-100 Pa range ends earlier.
    QCOMPARE(model.reply(">MeasRange 1"), QByteArray("OK"));
    model.setAppliedPressure(121);
    QCOMPARE(model.reply("?IP"), QByteArray("Err_Overflow"));
    model.setAppliedPressure(-119);
    QCOMPARE(model.reply("?IP"), QByteArray("IP -119.0"));
}

void TestDeviceModel::liveInputs() {
    DeviceModel model;
    model.setNoiseEnabled(false);
    // Factory: IN-1 temperature 0..50 degC, IN-2 humidity 0..100 %rF, both 4-20 mA.
    model.setInputCurrent(1, 12.0);
    model.setInputCurrent(2, 8.0);
    QCOMPARE(model.reply("?IN1"), QByteArray("IN1 25.0"));
    QCOMPARE(model.reply("?IN2"), QByteArray("IN2 25.0"));
    model.setInputCurrent(1, 20.0);
    QCOMPARE(model.reply("?IN1"), QByteArray("IN1 50.0"));
    model.setInputCurrent(1, 21.0); // over-range still measures
    QVERIFY(model.reply("?IN1").startsWith("IN1 53."));
    model.setInputCurrent(1, 21.5);
    QCOMPARE(model.reply("?IN1"), QByteArray("Err_Overflow"));
    model.setInputCurrent(1, 2.5);
    QCOMPARE(model.reply("?IN1"), QByteArray("Err_Underflow"));

    // IN-1 as pressure input (ExtPress 2), 0-10 V, shown in hPa.
    QCOMPARE(model.reply(">ExtPress 2"), QByteArray("OK"));
    QCOMPARE(model.reply(">SignalIN1 2"), QByteArray("OK"));
    QCOMPARE(model.reply(">UnitIN1 1"), QByteArray("OK"));
    model.setInputVoltage(1, 5.0);
    QCOMPARE(model.reply("?IN1"), QByteArray("IN1 5.000")); // 500 Pa of 0..1000 Pa
    model.setInputVoltage(1, -0.1);
    QCOMPARE(model.reply("?IN1"), QByteArray("Err_Underflow"));
    // IN-2 stays a humidity input in mode 2.
    QCOMPARE(model.reply("?IN2"), QByteArray("IN2 25.0"));
}

void TestDeviceModel::noiseIsSeededAndSmall() {
    DeviceModel a(0, 7);
    DeviceModel b(0, 7);
    a.setAppliedPressure(50);
    b.setAppliedPressure(50);
    QList<QByteArray> readings;
    for (int i = 0; i < 50; ++i) {
        const QByteArray r = a.reply("?IP");
        QCOMPARE(b.reply("?IP"), r);
        const double v = number(valueOf(r, "IP"));
        QVERIFY2(qAbs(v - 50) < 2.0, r.constData());
        readings << r;
    }
    std::sort(readings.begin(), readings.end());
    QVERIFY(std::unique(readings.begin(), readings.end()) - readings.begin() > 3); // it moves
    DeviceModel c(0, 8);
    DeviceModel d(0, 7);
    c.setAppliedPressure(50);
    d.setAppliedPressure(50);
    QList<QByteArray> first, other;
    for (int i = 0; i < 10; ++i) {
        first << d.reply("?IP");
        other << c.reply("?IP");
    }
    QVERIFY(first != other);
}

void TestDeviceModel::unknownCommands() {
    DeviceModel model;
    for (const QByteArray &cmd :
         {QByteArray("foo"), QByteArray("?Foo"), QByteArray(">Foo 1"), QByteArray("?unitp"),
          QByteArray(""), QByteArray("?"), QByteArray(">"), QByteArray("savepar"),
          QByteArray(">MTeach 1"), QByteArray("?IP3"), QByteArray(">TPStuetzX"),
          QByteArray("\x80\xff")})
        QCOMPARE(model.reply(cmd), QByteArray("Err_CmdNotExist"));
    QVERIFY(!model.teachMode());
}

QTEST_APPLESS_MAIN(TestDeviceModel)
#include "test_devicemodel.moc"

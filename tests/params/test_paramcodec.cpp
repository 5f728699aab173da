#include "base/Errors.h"
#include "params/ParamCodec.h"

#include <QtTest>

class TestParamCodec : public QObject {
    Q_OBJECT
private slots:
    void commands();
    void replyValueRemovesNameAndConvertsPoint();
    void decimalText();
    void decimalFailures();
    void passwordText();
    void choiceValue();
    void unitMappingBothWays();
    void extPressRebuildRules();
    void refusalMarkers();
};

void TestParamCodec::commands() {
    QCOMPARE(ParamCodec::queryCommand("ScalPdown"), QString("?ScalPdown"));
    QCOMPARE(ParamCodec::setCommand("ScalPdown", "-250"), QString(">ScalPdown -250"));
    QCOMPARE(ParamCodec::setCommand("Password", ""), QString(">Password "));
    QCOMPARE(ParamCodec::editTextOnWire("12,5"), QString("12.5"));
    // Only commas are touched; the device judges the syntax.
    QCOMPARE(ParamCodec::editTextOnWire("1.000,5"), QString("1.000.5"));
    QCOMPARE(ParamCodec::editTextOnWire("abc"), QString("abc"));
    QVERIFY(ParamCodec::isRefusal("Err_ValRange"));
    QVERIFY(ParamCodec::isRefusal("Err"));
    QVERIFY(!ParamCodec::isRefusal("OK"));
    QVERIFY(!ParamCodec::isRefusal("err_ValRange"));
    QVERIFY(!ParamCodec::isRefusal(" Err"));
}

void TestParamCodec::replyValueRemovesNameAndConvertsPoint() {
    QCOMPARE(ParamCodec::replyValue("ScalPdown 12.5", "ScalPdown", ','), QString(" 12,5"));
    QCOMPARE(ParamCodec::replyValue("ScalPdown 12.5", "ScalPdown", '.'), QString(" 12.5"));
    // Every occurrence goes, case matters.
    QCOMPARE(ParamCodec::replyValue("UnitP UnitP 2", "UnitP", ','), QString("  2"));
    QCOMPARE(ParamCodec::replyValue("unitp 2", "UnitP", ','), QString("unitp 2"));
    QCOMPARE(ParamCodec::replyValue("Err_CmdNotExist", "FilterIN1", ','),
             QString("Err_CmdNotExist"));
    QCOMPARE(ParamCodec::replyValue("DeviceAdr 5", "DeviceAdr", ','), QString(" 5"));
}

void TestParamCodec::decimalText() {
    QCOMPARE(ParamCodec::decimalText(" -250,0", ','), QString("-250"));
    QCOMPARE(ParamCodec::decimalText(" 2,50", ','), QString("2,5"));
    QCOMPARE(ParamCodec::decimalText(" 2.50", '.'), QString("2.5"));
    QCOMPARE(ParamCodec::decimalText(" 0,000001", ','), QString("1E-6"));
    QCOMPARE(ParamCodec::decimalText(" 0,1", ','), QString("0,1"));
    QCOMPARE(ParamCodec::decimalText(" 1000", ','), QString("1000"));
    QCOMPARE(ParamCodec::decimalText(" 0,12345678901234567", ','), QString("0,123456789012346"));
}

void TestParamCodec::decimalFailures() {
    const struct {
        const char *value;
        QChar separator;
    } bad[] = {
        {"Err_CmdNotExist", ','}, {"", ','}, {" 12.5", ','}, {" 12,5", '.'}, {"ScalPup 5", ','}};
    for (const auto &c : bad) {
        try {
            ParamCodec::decimalText(QString::fromLatin1(c.value), c.separator);
            QFAIL(c.value);
        } catch (const EConvertError &e) {
            QCOMPARE(e.message(),
                     QString("'%1' ist kein gültiger Gleitkommawert").arg(QLatin1String(c.value)));
        }
    }
    QVERIFY_THROWS_EXCEPTION(EConvertError, ParamCodec::passwordText("Err", ','));
}

void TestParamCodec::passwordText() {
    QCOMPARE(ParamCodec::passwordText(" 0", ','), QString("0000"));
    QCOMPARE(ParamCodec::passwordText(" 7", ','), QString("0007"));
    QCOMPARE(ParamCodec::passwordText(" 42", ','), QString("0042"));
    QCOMPARE(ParamCodec::passwordText(" 123", ','), QString("0123"));
    QCOMPARE(ParamCodec::passwordText(" 1234", ','), QString("1234"));
    QCOMPARE(ParamCodec::passwordText(" 7,5", ','), QString("0007,5"));
}

void TestParamCodec::choiceValue() {
    QCOMPARE(ParamCodec::choiceValue(" 3"), 3);
    QCOMPARE(ParamCodec::choiceValue("   0"), 0);
    QCOMPARE(ParamCodec::choiceValue(" 99"), 99);
    QCOMPARE(ParamCodec::choiceValue(" -1"), -1);
    for (const char *bad : {"Err_CmdNotExist", "", " 1,5", " 1 ", "x"}) {
        try {
            ParamCodec::choiceValue(QString::fromLatin1(bad));
            QFAIL(bad);
        } catch (const EConvertError &e) {
            QCOMPARE(e.message(),
                     QString("'%1' ist kein gültiger Integerwert").arg(QLatin1String(bad)));
        }
    }
}

void TestParamCodec::unitMappingBothWays() {
    // IN-1 measures temperature in modes 0 and 1: its index 1 ("off") is the device's 3.
    for (int mode : {0, 1}) {
        QCOMPARE(ParamCodec::unitValue(1, mode, 1), 3);
        QCOMPARE(ParamCodec::unitValue(1, mode, 0), 0);
        QCOMPARE(ParamCodec::unitIndex(1, mode, 3), 1);
        QCOMPARE(ParamCodec::unitIndex(1, mode, 0), 0);
        QCOMPARE(ParamCodec::unitIndex(1, mode, 2), 2); // outside the short list
    }
    for (int mode : {2, 3}) {
        for (int v = 0; v <= 3; ++v) {
            QCOMPARE(ParamCodec::unitValue(1, mode, v), v);
            QCOMPARE(ParamCodec::unitIndex(1, mode, v), v);
        }
    }
    // IN-2 measures humidity in modes 0 and 2.
    for (int mode : {0, 2}) {
        QCOMPARE(ParamCodec::unitValue(2, mode, 1), 3);
        QCOMPARE(ParamCodec::unitIndex(2, mode, 3), 1);
    }
    for (int mode : {1, 3}) {
        QCOMPARE(ParamCodec::unitValue(2, mode, 1), 1);
        QCOMPARE(ParamCodec::unitIndex(2, mode, 3), 3);
    }
    QCOMPARE(ParamCodec::unitValue(1, 0, -1), -1);
    QVERIFY(!ParamCodec::in1MeasuresPressure(1));
    QVERIFY(ParamCodec::in1MeasuresPressure(2));
    QVERIFY(ParamCodec::in2MeasuresPressure(1));
    QVERIFY(!ParamCodec::in2MeasuresPressure(2));
}

void TestParamCodec::extPressRebuildRules() {
    // in1/in2 expected for every pair of modes: a list is rebuilt exactly when its input
    // changes between pressure and its own quantity.
    for (int from = 0; from <= 3; ++from) {
        for (int to = 0; to <= 3; ++to) {
            const auto rebuild = ParamCodec::extPressRebuild(from, to);
            QCOMPARE(rebuild.in1, (from >= 2) != (to >= 2));
            QCOMPARE(rebuild.in2, (from % 2 == 1) != (to % 2 == 1));
        }
    }
    QVERIFY(ParamCodec::extPressRebuild(0, 3).in1 && ParamCodec::extPressRebuild(0, 3).in2);
    QVERIFY(ParamCodec::extPressRebuild(1, 3).in1 && !ParamCodec::extPressRebuild(1, 3).in2);
    // A previous mode the rules do not name rebuilds nothing.
    QVERIFY(!ParamCodec::extPressRebuild(99, 3).in1 && !ParamCodec::extPressRebuild(99, 3).in2);
    QVERIFY(!ParamCodec::extPressRebuild(-1, 0).in1 && !ParamCodec::extPressRebuild(-1, 0).in2);
}

void TestParamCodec::refusalMarkers() {
    QCOMPARE(ParamCodec::refusalMarker(*ParamTable::find("WarnPup")), 12);
    QCOMPARE(ParamCodec::refusalMarker(*ParamTable::find("RelTime1")), 30);
    QCOMPARE(ParamCodec::refusalMarker(*ParamTable::find("Password")), 32);
    const int sound = ParamCodec::refusalMarker(*ParamTable::find("Sound"));
    QVERIFY(sound > 32);
    QCOMPARE(QString(ParamCodec::rowForMarker(sound)->name), QString("Sound"));
    const int range = ParamCodec::refusalMarker(*ParamTable::find("MeasRange"));
    QCOMPARE(QString(ParamCodec::rowForMarker(range)->control), QString("MeasRange2"));
    // Every row finds itself again through its marker.
    for (const ParamDef &row : ParamTable::rows())
        QCOMPARE(ParamCodec::rowForMarker(ParamCodec::refusalMarker(row)), &row);
    QVERIFY(!ParamCodec::rowForMarker(0));
    QVERIFY(!ParamCodec::rowForMarker(33));
    QVERIFY(!ParamCodec::rowForMarker(-5));
}

QTEST_GUILESS_MAIN(TestParamCodec)
#include "test_paramcodec.moc"

#include "base/Errors.h"
#include "teach/InstrumentCommands.h"

#include <QtTest>

class TestInstrumentCommands : public QObject {
    Q_OBJECT
private slots:
    void resourceNames();
    void controllerCommands();
    void stability();
    void acquisitionCommands();
    void voltsText();
    void readings();
    void readingsThatAreNoNumber();
};

void TestInstrumentCommands::resourceNames() {
    QCOMPARE(InstrumentCommands::resourceName("7"), QString("GPIB0::7::INSTR"));
    QCOMPARE(InstrumentCommands::resourceName(""), QString("GPIB0::::INSTR"));
    QCOMPARE(InstrumentCommands::resourceName(" 9 "), QString("GPIB0:: 9 ::INSTR"));
}

void TestInstrumentCommands::controllerCommands() {
    QCOMPARE(InstrumentCommands::outform(), QString(" Outform 1"));
    QCOMPARE(InstrumentCommands::channelB(), QString(" Chan B"));
    QCOMPARE(InstrumentCommands::sensorSecondary(), QString(" Sensor Secondary, 2"));
    QCOMPARE(InstrumentCommands::stableQuery(), QString(" Stable?"));
    QCOMPARE(InstrumentCommands::vent(), QString(" Vent"));
    QCOMPARE(InstrumentCommands::setPoint(-250), QString(" _pcs4 func ctrl 250 Pa"));
    QCOMPARE(InstrumentCommands::setPoint(250), InstrumentCommands::setPoint(-250));
    QCOMPARE(InstrumentCommands::setPoint(-120), QString(" _pcs4 func ctrl 120 Pa"));
    QCOMPARE(InstrumentCommands::setPoint(0), QString(" _pcs4 func ctrl 0 Pa"));
}

void TestInstrumentCommands::stability() {
    QVERIFY(InstrumentCommands::isStable("YES\r\n"));
    QVERIFY(InstrumentCommands::isStable("Y E S\r\n"));
    QVERIFY(InstrumentCommands::isStable("  YES  \r\n"));
    QVERIFY(!InstrumentCommands::isStable("yes\r\n"));
    QVERIFY(!InstrumentCommands::isStable("Yes\r\n"));
    QVERIFY(!InstrumentCommands::isStable("NO\r\n"));
    QVERIFY(!InstrumentCommands::isStable("YESS\r\n"));
    // Without its line end the last two letters are cut away.
    QVERIFY(!InstrumentCommands::isStable("YES"));
    QVERIFY(!InstrumentCommands::isStable("YES\n"));
    QVERIFY(InstrumentCommands::isStable("YESxx"));
    QVERIFY(!InstrumentCommands::isStable(""));
    QVERIFY(!InstrumentCommands::isStable("\n"));
}

void TestInstrumentCommands::acquisitionCommands() {
    QCOMPARE(InstrumentCommands::measureCurrent("122"),
             QString("MEAS:CURR:DC? 0.1,0.0000001,(@122)"));
    QCOMPARE(InstrumentCommands::measureVoltage("101,102"),
             QString("MEAS:VOLT:DC? 100,0.001,(@101,102)"));
    QCOMPARE(InstrumentCommands::measureVoltage(""), QString("MEAS:VOLT:DC? 100,0.001,(@)"));
    QCOMPARE(InstrumentCommands::digitalData(3, "201"), QString("SOUR:DIG:DATA 3,(@201)"));
    QCOMPARE(InstrumentCommands::digitalData(0, "201"), QString("SOUR:DIG:DATA 0,(@201)"));
    QCOMPARE(InstrumentCommands::sourceVoltage(-21, "204"), QString("SOUR:VOLT -0.021,(@204)"));
    QCOMPARE(InstrumentCommands::sourceVoltage(1854, "205"), QString("SOUR:VOLT 1.854,(@205)"));
}

void TestInstrumentCommands::voltsText() {
    QCOMPARE(InstrumentCommands::voltsText(1854), QString("1.854"));
    QCOMPARE(InstrumentCommands::voltsText(-21), QString("-0.021"));
    QCOMPARE(InstrumentCommands::voltsText(21), QString("0.021"));
    QCOMPARE(InstrumentCommands::voltsText(-6), QString("-0.006"));
    QCOMPARE(InstrumentCommands::voltsText(10990), QString("10.990"));
    QCOMPARE(InstrumentCommands::voltsText(0), QString("0.000"));
    QCOMPARE(InstrumentCommands::voltsText(-1000), QString("-1.000"));
    QCOMPARE(InstrumentCommands::voltsText(-1001), QString("-1.001"));
    QCOMPARE(InstrumentCommands::voltsText(std::numeric_limits<int>::min()),
             QString("-2147483.648"));
}

void TestInstrumentCommands::readings() {
    QCOMPARE(InstrumentCommands::currentMilliamps("+4.00012345E-03\n"), 4.00012345);
    QCOMPARE(InstrumentCommands::reading("+4.00012345E-03\n"), 0.00400012345);
    QCOMPARE(InstrumentCommands::reading("-1.0234E+01\n"), -10.234);
    QCOMPARE(InstrumentCommands::reading("9.99812000E+00\n"), 9.99812);
    QCOMPARE(InstrumentCommands::reading("12\n"), 12.0);
    QCOMPARE(InstrumentCommands::currentMilliamps("+2.00000000E-02\n"), 20.0);
}

void TestInstrumentCommands::readingsThatAreNoNumber() {
    const QStringList bad = {"", "\n", "ERROR\n", "1.2.3\n", "+\n", "E-3\n"};
    for (const QString &reply : bad) {
        try {
            InstrumentCommands::reading(reply);
            QFAIL(qPrintable("no error for " + reply));
        } catch (const EConvertError &error) {
            QString rest = reply;
            rest.replace('.', ',');
            rest.chop(1);
            QCOMPARE(error.message(), QString("'%1' ist kein gültiger Gleitkommawert").arg(rest));
        }
    }
}

QTEST_APPLESS_MAIN(TestInstrumentCommands)
#include "tst_InstrumentCommands.moc"

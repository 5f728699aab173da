#include "measure/PolledChannels.h"
#include "measure/ValueDisplay.h"

#include <QtTest>
#include <cmath>

class TestValueDisplay : public QObject {
    Q_OBJECT

private:
    static ValueDisplay::Format format(QChar separator, int language, bool hecto,
                                       const QString &unit) {
        ValueDisplay::Format f;
        f.localSeparator = separator;
        f.language = language;
        f.hecto = hecto;
        f.unit = unit;
        return f;
    }

private slots:
    void valueTextHasFourSignificantDigitsAndFixedDecimals() {
        const auto pa = format(QLatin1Char(','), 0, false, QStringLiteral("Pa"));
        QCOMPARE(ValueDisplay::valueText(12.345, pa), QStringLiteral("12,3 Pa"));
        QCOMPARE(ValueDisplay::valueText(-0.04, pa), QStringLiteral("0,0 Pa"));
        QCOMPARE(ValueDisplay::valueText(-250, pa), QStringLiteral("-250,0 Pa"));
        // Only four significant digits: the decimal beyond them shows as zero.
        QCOMPARE(ValueDisplay::valueText(1234.56, pa), QStringLiteral("1235,0 Pa"));
        const auto hpa = format(QLatin1Char(','), 0, true, QStringLiteral("hPa"));
        QCOMPARE(ValueDisplay::valueText(1.23456, hpa), QStringLiteral("1,235 hPa"));
        QCOMPARE(ValueDisplay::valueText(-0.5, hpa), QStringLiteral("-0,500 hPa"));
    }

    void englishAndFrenchShowThePoint() {
        QCOMPARE(ValueDisplay::valueText(12.345, format(QLatin1Char(','), 1, false, "Pa")),
                 QStringLiteral("12.3 Pa"));
        QCOMPARE(ValueDisplay::valueText(1.23456, format(QLatin1Char(','), 2, true, "mbar")),
                 QStringLiteral("1.235 mbar"));
        // A German user on a system with the decimal point sees the point as well.
        QCOMPARE(ValueDisplay::valueText(12.345, format(QLatin1Char('.'), 0, false, "Pa")),
                 QStringLiteral("12.3 Pa"));
    }

    void errorWordsCountOnlyAsTheWholeRest() {
        const auto f = format(QLatin1Char(','), 0, false, QStringLiteral("Pa"));
        PolledValue v = ValueDisplay::interpret("Err_Overflow", "IP", 7.0, f);
        QCOMPARE(v.state, PointState::Overflow);
        QCOMPARE(v.text, QStringLiteral("OVERFLOW"));
        v = ValueDisplay::interpret("Err_Underflow", "IN1", 7.0, f);
        QCOMPARE(v.state, PointState::Underflow);
        QCOMPARE(v.text, QStringLiteral("UNDERFLOW"));
        // The name is removed first: an error word behind the name is still recognised.
        v = ValueDisplay::interpret("IN1Err_Underflow", "IN1", 7.0, f);
        QCOMPARE(v.state, PointState::Underflow);
        // With a blank left over it is no error word, and no number either.
        v = ValueDisplay::interpret("IP Err_Overflow", "IP", 7.0, f);
        QCOMPARE(v.state, PointState::Value);
        QCOMPARE(v.value, 7.0);
        QCOMPARE(v.text, QStringLiteral("7,0 Pa"));
    }

    void repliesConvertWithTheLocalSeparator() {
        const auto comma = format(QLatin1Char(','), 0, false, QStringLiteral("Pa"));
        PolledValue v = ValueDisplay::interpret("IP 12.345", "IP", 0.0, comma);
        QCOMPARE(v.state, PointState::Value);
        QCOMPARE(v.value, 12.345);
        QCOMPARE(v.text, QStringLiteral("12,3 Pa"));
        const auto point = format(QLatin1Char('.'), 0, false, QStringLiteral("Pa"));
        QCOMPARE(ValueDisplay::interpret("IP -3.5", "IP", 0.0, point).value, -3.5);
        // A comma on the wire is no decimal mark where the separator is the point.
        QCOMPARE(ValueDisplay::interpret("IP 1,5", "IP", 9.0, point).value, 9.0);
    }

    void badRepliesKeepThePreviousValue() {
        const auto f = format(QLatin1Char(','), 1, false, QStringLiteral("Pa"));
        const QStringList bad = {"",
                                 "IP",
                                 "IP nan",
                                 "IP inf",
                                 "IP 1e999",
                                 "IP 1.2.3",
                                 QString::fromLatin1("\xff\x01\xfe"),
                                 "Err",
                                 "OK",
                                 "Err_CmdNotExist",
                                 "IP 12 Pa"};
        for (const QString &reply : bad) {
            const PolledValue v = ValueDisplay::interpret(reply, "IP", -4.25, f);
            QCOMPARE(v.state, PointState::Value);
            QCOMPARE(v.value, -4.25);
            QCOMPARE(v.text, QStringLiteral("-4.3 Pa"));
        }
    }

    void absurdNumbersStayDisplayable() {
        const auto f = format(QLatin1Char(','), 1, false, QStringLiteral("Pa"));
        PolledValue v = ValueDisplay::interpret("IP 1e308", "IP", 0.0, f);
        QCOMPARE(v.value, 1e308);
        QCOMPARE(v.text, QStringLiteral("1E308 Pa"));
        v = ValueDisplay::interpret("IP -0", "IP", 5.0, f);
        QCOMPARE(v.state, PointState::Value);
        QCOMPARE(v.value, 0.0);
        QCOMPARE(v.text, QStringLiteral("0.0 Pa"));
        v = ValueDisplay::interpret("IP 123456", "IP", 0.0, f);
        QCOMPARE(v.text, QStringLiteral("1.235E5 Pa"));
    }

    void polledChannelsFollowExtPressAndUnits() {
        UnitSelection u;
        QVERIFY(PolledChannels::polled(kChannelPressure, u));
        u.unitP = 3;
        QVERIFY(!PolledChannels::polled(kChannelPressure, u));
        QVERIFY(PolledChannels::switchedOff(kChannelPressure, u));
        u.unitP = -1; // no selection still polls the pressure
        QVERIFY(PolledChannels::polled(kChannelPressure, u));
        QVERIFY(!PolledChannels::switchedOff(kChannelPressure, u));

        // Temperature / humidity inputs: only their unit (item 0) polls, item 1 is off.
        for (int mode : {0, 1}) {
            u.extPress = mode;
            u.unitIN1 = 0;
            QVERIFY(PolledChannels::polled(kChannelIN1, u));
            u.unitIN1 = 1;
            QVERIFY(!PolledChannels::polled(kChannelIN1, u));
            QVERIFY(PolledChannels::switchedOff(kChannelIN1, u));
        }
        // Pressure inputs: Pa, hPa, mbar poll, item 3 is off.
        for (int mode : {2, 3}) {
            u.extPress = mode;
            for (int unit : {0, 1, 2}) {
                u.unitIN1 = unit;
                QVERIFY(PolledChannels::polled(kChannelIN1, u));
                QVERIFY(!PolledChannels::switchedOff(kChannelIN1, u));
                QCOMPARE(PolledChannels::hectoUnit(kChannelIN1, u), unit > 0);
            }
            u.unitIN1 = 3;
            QVERIFY(!PolledChannels::polled(kChannelIN1, u));
            QVERIFY(PolledChannels::switchedOff(kChannelIN1, u));
        }
        // IN-2 measures pressure in modes 1 and 3.
        u.extPress = 1;
        u.unitIN2 = 2;
        QVERIFY(PolledChannels::polled(kChannelIN2, u));
        QVERIFY(PolledChannels::hectoUnit(kChannelIN2, u));
        u.extPress = 2;
        u.unitIN2 = 1;
        QVERIFY(!PolledChannels::polled(kChannelIN2, u));
        QVERIFY(!PolledChannels::hectoUnit(kChannelIN2, u)); // "%rF" is no hecto unit
        u.unitIN2 = -1; // no selection: neither polled nor switched off
        QVERIFY(!PolledChannels::polled(kChannelIN2, u));
        QVERIFY(!PolledChannels::switchedOff(kChannelIN2, u));

        QCOMPARE(PolledChannels::command(kChannelPressure), QStringLiteral("?IP"));
        QCOMPARE(PolledChannels::command(kChannelIN1), QStringLiteral("?IN1"));
        QCOMPARE(PolledChannels::name(kChannelIN2), QStringLiteral("IN2"));
        u.unitP = 1;
        QVERIFY(PolledChannels::hectoUnit(kChannelPressure, u));
    }
};

QTEST_GUILESS_MAIN(TestValueDisplay)
#include "test_valuedisplay.moc"

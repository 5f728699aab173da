#include "measure/ChartRanges.h"

#include <QtTest>

#include <cmath>

class TestChartRanges : public QObject {
    Q_OBJECT

private slots:
    void pressureRange_data();
    void pressureRange();
    void signalOverRange();
    void pressureInputsInHectopascal();
    void whichInputMeasuresPressure();
    void extremeScalingsStayFinite();
};

void TestChartRanges::pressureRange_data() {
    QTest::addColumn<int>("measRange");
    QTest::addColumn<int>("unitP");
    QTest::addColumn<double>("limit");
    QTest::newRow("250 Pa, Pa") << 0 << 0 << 250.0;
    QTest::newRow("100 Pa, Pa") << 1 << 0 << 120.0;
    QTest::newRow("100 Pa, hPa") << 1 << 1 << 1.2;
    QTest::newRow("250 Pa, mbar") << 0 << 2 << 2.5;
    QTest::newRow("100 Pa, off") << 1 << 3 << 1.2;
    QTest::newRow("unknown range") << 5 << 0 << 250.0;
}

void TestChartRanges::pressureRange() {
    QFETCH(int, measRange);
    QFETCH(int, unitP);
    QFETCH(double, limit);
    const ValueRange range = ChartRanges::pressureRange(measRange, unitP);
    QCOMPARE(range.lower, -limit);
    QCOMPARE(range.upper, limit);
}

void TestChartRanges::signalOverRange() {
    // 4-20 mA on 0..100: the range from 3 mA to 21 mA.
    ValueRange range = ChartRanges::inputRange(0, 100, false, 0, ChartRanges::kSignal4To20mA);
    QCOMPARE(range.lower, -6.25);
    QCOMPARE(range.upper, 106.640625);

    // The upper value is widened with the already widened lower value.
    range = ChartRanges::widenForSignal({-40, 60}, ChartRanges::kSignal4To20mA);
    QCOMPARE(range.lower, -46.25);
    QCOMPARE(range.upper, 66.640625);

    range = ChartRanges::inputRange(0, 100, false, 0, ChartRanges::kSignal0To20mA);
    QCOMPARE(range.lower, 0.0);
    QCOMPARE(range.upper, 105.0);
    range = ChartRanges::widenForSignal({-50, 50}, ChartRanges::kSignal0To20mA);
    QCOMPARE(range.lower, -50.0);
    QCOMPARE(range.upper, 55.0);

    range = ChartRanges::inputRange(0, 100, false, 0, ChartRanges::kSignal0To10V);
    QCOMPARE(range.lower, 0.0);
    QCOMPARE(range.upper, 110.0);
    range = ChartRanges::widenForSignal({20, 70}, ChartRanges::kSignal0To10V);
    QCOMPARE(range.lower, 20.0);
    QCOMPARE(range.upper, 75.0);

    // Signal indexes the device does not have leave the scaling as it is.
    for (int signal : {-1, 3, 17}) {
        range = ChartRanges::widenForSignal({-3, 9}, signal);
        QCOMPARE(range.lower, -3.0);
        QCOMPARE(range.upper, 9.0);
    }
}

void TestChartRanges::pressureInputsInHectopascal() {
    // A pressure input shown in hPa or mbar has its Pa scaling divided by 100.
    ValueRange range = ChartRanges::inputRange(0, 1000, true, 1, ChartRanges::kSignal4To20mA);
    QCOMPARE(range.lower, -0.625);
    QCOMPARE(range.upper, 10.6640625);
    range = ChartRanges::inputRange(-500, 500, true, 2, ChartRanges::kSignal0To10V);
    QCOMPARE(range.lower, -5.0);
    QCOMPARE(range.upper, 6.0);
    // In Pa, or for a temperature or humidity whatever its unit index, nothing is divided.
    range = ChartRanges::inputRange(0, 1000, true, 0, ChartRanges::kSignal0To10V);
    QCOMPARE(range.upper, 1100.0);
    range = ChartRanges::inputRange(0, 1000, false, 1, ChartRanges::kSignal0To10V);
    QCOMPARE(range.upper, 1100.0);
}

void TestChartRanges::whichInputMeasuresPressure() {
    const bool in1[] = {false, false, true, true};
    const bool in2[] = {false, true, false, true};
    for (int extPress = 0; extPress < 4; ++extPress) {
        QCOMPARE(ChartRanges::inputMeasuresPressure(1, extPress), in1[extPress]);
        QCOMPARE(ChartRanges::inputMeasuresPressure(2, extPress), in2[extPress]);
    }
    QVERIFY(!ChartRanges::inputMeasuresPressure(3, 3));
    QVERIFY(!ChartRanges::inputMeasuresPressure(1, 7));
}

void TestChartRanges::extremeScalingsStayFinite() {
    for (int signal = 0; signal < 3; ++signal) {
        const ValueRange range = ChartRanges::widenForSignal({-1e308, 1e308}, signal);
        QVERIFY(std::isfinite(range.lower));
        QVERIFY(std::isfinite(range.upper));
        QVERIFY(range.upper > 1e308 * 0.99);
    }
    const ValueRange range =
        ChartRanges::widenForSignal({-1e308, 1e308}, ChartRanges::kSignal4To20mA);
    QVERIFY(range.lower < -1e308);
    QVERIFY(range.upper > 1e308);
}

QTEST_APPLESS_MAIN(TestChartRanges)
#include "test_chartranges.moc"

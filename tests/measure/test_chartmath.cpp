#include "measure/ChartMath.h"

#include <QtTest>

#include <cmath>
#include <initializer_list>
#include <limits>

namespace {

constexpr int kHeight = 200;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

ChannelHistory historyOf(std::initializer_list<double> values) {
    ChannelHistory history;
    int i = 0;
    for (double v : values)
        history.setValue(i++, v);
    return history;
}

QStringList labelsOf(const ChartGrid &grid, QChar separator = QLatin1Char('.'), int language = 1) {
    QStringList labels;
    for (int j = 0; j < grid.lineCount; ++j)
        labels << ChartMath::gridLabelText(grid.value(j), grid.decimals, separator, language);
    return labels;
}

// A grid that is safe to draw: finite, in order, at most eight lines, every line on the chart.
void verifySaneGrid(const ChartGrid &grid) {
    QVERIFY(std::isfinite(grid.bottom));
    QVERIFY(std::isfinite(grid.top));
    QVERIFY(grid.top > grid.bottom);
    QVERIFY(grid.lineCount >= 1 && grid.lineCount <= ChartMath::kMaxGridLines);
    for (int j = 0; j < grid.lineCount; ++j) {
        const int y = ChartMath::yOf(grid.value(j), grid, kHeight);
        QVERIFY2(y >= 30 && y <= kHeight - 10, qPrintable(QString::number(y)));
        QVERIFY(!ChartMath::gridLabelText(grid.value(j), grid.decimals, ',', 0).isEmpty());
    }
}

} // namespace

class TestChartMath : public QObject {
    Q_OBJECT

private slots:
    void stepTableAndDecimals();
    void valuesBetween12And14();
    void valuesFrom0To6();
    void singleValueIsWidened();
    void onlyUnderflows();
    void underflowAndOverflowMeetValues();
    void rangesBeyondTheTable();
    void reversedOrEqualBounds();
    void absurdValues();
    void pixelPositions();
    void labelTexts();
};

void TestChartMath::stepTableAndDecimals() {
    const double expected[] = {0.0001, 0.0002, 0.0005, 0.001, 0.002, 0.005, 0.01,  0.02,  0.05, 0.1,
                               0.2,    0.5,    1,      2,     5,     10,    20,    50,    100,  200,
                               500,    1000,   2000,   5000,  10000, 20000, 50000, 100000};
    QCOMPARE(ChartMath::kStepCount, 28);
    for (int k = 0; k < ChartMath::kStepCount; ++k)
        QCOMPARE(ChartMath::gridStep(k), expected[k]);
    QCOMPARE(ChartMath::gridStep(40), 100000.0);
    QCOMPARE(ChartMath::gridStep(-1), 0.0001);

    const int decimals[] = {4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1, 0, 0};
    for (int k = 0; k < 14; ++k)
        QCOMPARE(ChartMath::decimalsForStep(k), decimals[k]);
    QCOMPARE(ChartMath::decimalsForStep(27), 0);
}

void TestChartMath::valuesBetween12And14() {
    ChannelHistory history = historyOf({13.0, 12.3, 14.1, 12.8});
    const ValueRange range = ChartMath::updateValueRange(history, 3, {-250, 250});
    QCOMPARE(range.lower, 12.3);
    QCOMPARE(range.upper, 14.1);

    const ChartGrid grid = ChartMath::chooseGrid(range);
    QCOMPARE(grid.step, 0.5);
    QCOMPARE(grid.bottom, 12.0);
    QCOMPARE(grid.top, 14.5);
    QCOMPARE(grid.lineCount, 6);
    QCOMPARE(grid.decimals, 1);
    QCOMPARE(labelsOf(grid), QStringList({"12.0", "12.5", "13.0", "13.5", "14.0", "14.5"}));
    // 30 + 160 * 2.2 / 2.5 = 170.8
    QCOMPARE(ChartMath::yOf(12.3, grid, kHeight), 171);

    // Points beyond the history index take no part.
    ChannelHistory partial = historyOf({13.0, 12.3, 14.1, 99.0});
    const ValueRange head = ChartMath::updateValueRange(partial, 2, {-250, 250});
    QCOMPARE(head.upper, 14.1);
}

void TestChartMath::valuesFrom0To6() {
    ChannelHistory history = historyOf({0, 2, 6, 5});
    const ChartGrid grid = ChartMath::chooseGrid(ChartMath::updateValueRange(history, 3, {0, 1}));
    QCOMPARE(grid.step, 1.0);
    QCOMPARE(grid.bottom, 0.0);
    QCOMPARE(grid.top, 6.0);
    QCOMPARE(grid.lineCount, 7);
    QCOMPARE(grid.decimals, 0);
    QCOMPARE(labelsOf(grid), QStringList({"0", "1", "2", "3", "4", "5", "6"}));

    // Seven intervals still fit: 0..7 keeps the step 1 and uses all eight labels.
    ChannelHistory seven = historyOf({0, 7});
    const ChartGrid sevenGrid =
        ChartMath::chooseGrid(ChartMath::updateValueRange(seven, 1, {0, 1}));
    QCOMPARE(sevenGrid.step, 1.0);
    QCOMPARE(sevenGrid.lineCount, 8);
    QCOMPARE(labelsOf(sevenGrid).last(), QString("7"));
}

void TestChartMath::singleValueIsWidened() {
    ChannelHistory history = historyOf({5.0});
    const ValueRange range = ChartMath::updateValueRange(history, 0, {-250, 250});
    QCOMPARE(range.lower, 4.9);
    QCOMPARE(range.upper, 5.1);
    const ChartGrid grid = ChartMath::chooseGrid(range);
    QCOMPARE(grid.step, 0.05);
    QCOMPARE(labelsOf(grid), QStringList({"4.90", "4.95", "5.00", "5.05", "5.10"}));
    QCOMPARE(ChartMath::yOf(5.0, grid, kHeight), 110);

    // Around zero the middle label must not read "-0.00".
    ChannelHistory zero = historyOf({-0.0});
    const ChartGrid zeroGrid = ChartMath::chooseGrid(ChartMath::updateValueRange(zero, 0, {0, 1}));
    QCOMPARE(labelsOf(zeroGrid), QStringList({"-0.10", "-0.05", "0.00", "0.05", "0.10"}));

    // Equal values over several points are one value.
    ChannelHistory flat = historyOf({7, 7, 7});
    const ValueRange flatRange = ChartMath::updateValueRange(flat, 2, {0, 1});
    QCOMPARE(flatRange.lower, 6.9);
    QCOMPARE(flatRange.upper, 7.1);
}

void TestChartMath::onlyUnderflows() {
    ChannelHistory history;
    for (int i = 0; i < 4; ++i)
        history.setState(i, PointState::Underflow);
    const ValueRange range = ChartMath::updateValueRange(history, 3, {-120, 120});
    QCOMPARE(range.lower, -120.0);
    QCOMPARE(range.upper, 120.0);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(history.at(i).value, -120.0);

    const ChartGrid grid = ChartMath::chooseGrid(range);
    QCOMPARE(grid.step, 50.0);
    QCOMPARE(grid.bottom, -150.0);
    QCOMPARE(grid.top, 150.0);
    QCOMPARE(grid.lineCount, 7);
    QCOMPARE(labelsOf(grid), QStringList({"-150", "-100", "-50", "0", "50", "100", "150"}));
    QCOMPARE(ChartMath::plottedValue(history.at(0), grid), -150.0);
    QCOMPARE(ChartMath::yOf(ChartMath::plottedValue(history.at(0), grid), grid, kHeight), 190);

    // Only overflows: the configured range, the points on the top grid line.
    ChannelHistory over;
    over.setState(0, PointState::Overflow);
    const ValueRange overRange = ChartMath::updateValueRange(over, 0, {-2.5, 2.5});
    QCOMPARE(over.at(0).value, 2.5);
    const ChartGrid overGrid = ChartMath::chooseGrid(overRange);
    QCOMPARE(ChartMath::yOf(ChartMath::plottedValue(over.at(0), overGrid), overGrid, kHeight), 30);
}

void TestChartMath::underflowAndOverflowMeetValues() {
    // An underflow stretches the range down to the configured lower value ...
    ChannelHistory history = historyOf({10, 20});
    history.setState(2, PointState::Underflow);
    ValueRange range = ChartMath::updateValueRange(history, 2, {-250, 250});
    QCOMPARE(range.lower, -250.0);
    QCOMPARE(range.upper, 20.0);
    QCOMPARE(history.at(2).value, -250.0);

    // ... but not up to it when a value lies lower already.
    ChannelHistory low = historyOf({-300, 20});
    low.setState(2, PointState::Underflow);
    low.setState(3, PointState::Overflow);
    range = ChartMath::updateValueRange(low, 3, {-250, 250});
    QCOMPARE(range.lower, -300.0);
    QCOMPARE(range.upper, 250.0);
    QCOMPARE(low.at(2).value, -300.0);
    QCOMPARE(low.at(3).value, 250.0);

    // Empty points count for nothing; no value at all gives the configured range.
    ChannelHistory empty;
    range = ChartMath::updateValueRange(empty, 5, {-6.25, 106.640625});
    QCOMPARE(range.lower, -6.25);
    QCOMPARE(range.upper, 106.640625);
}

void TestChartMath::rangesBeyondTheTable() {
    // 700000 wide still fits the last step.
    ChartGrid grid = ChartMath::chooseGrid({0, 700000});
    QCOMPARE(grid.step, 100000.0);
    QCOMPARE(grid.lineCount, 8);
    QCOMPARE(grid.top, 700000.0);

    // Wider ranges stay at the last step and draw its first eight grid values.
    grid = ChartMath::chooseGrid({0, 1000000});
    QCOMPARE(grid.stepIndex, ChartMath::kStepCount - 1);
    QCOMPARE(grid.bottom, 0.0);
    QCOMPARE(grid.top, 1000000.0);
    QCOMPARE(grid.lineCount, 8);
    QCOMPARE(labelsOf(grid).last(), QString("700000"));
    QCOMPARE(ChartMath::yOf(grid.value(7), grid, kHeight), 78);
    verifySaneGrid(grid);

    grid = ChartMath::chooseGrid({-2500000, 1234567.8});
    QCOMPARE(grid.bottom, -2500000.0);
    QCOMPARE(grid.top, 1300000.0);
    QCOMPARE(labelsOf(grid).first(), QString("-2500000"));
    verifySaneGrid(grid);

    grid = ChartMath::chooseGrid({-1e12, 1e12});
    QCOMPARE(grid.step, 100000.0);
    QCOMPARE(labelsOf(grid).first(), QString("-1E12"));
    verifySaneGrid(grid);
}

void TestChartMath::reversedOrEqualBounds() {
    ChartGrid grid = ChartMath::chooseGrid({100, 0});
    QCOMPARE(grid.bottom, 0.0);
    QCOMPARE(grid.top, 100.0);
    verifySaneGrid(grid);

    grid = ChartMath::chooseGrid({0, 0});
    QCOMPARE(grid.step, 0.05);
    QCOMPARE(grid.bottom, -0.1);
    verifySaneGrid(grid);

    grid = ChartMath::chooseGrid({-0.0, 0.0});
    verifySaneGrid(grid);

    // Too large for the widening by 0.1 to show.
    ChannelHistory huge = historyOf({1e20});
    const ValueRange range = ChartMath::updateValueRange(huge, 0, {0, 1});
    QVERIFY(range.lower < range.upper);
    verifySaneGrid(ChartMath::chooseGrid(range));
    verifySaneGrid(ChartMath::chooseGrid({1e20, 1e20}));
    verifySaneGrid(ChartMath::chooseGrid({1e300, 1e300}));
}

void TestChartMath::absurdValues() {
    const double limit = std::numeric_limits<double>::max();
    const std::initializer_list<ValueRange> ranges = {
        {kNaN, kNaN},     {kNaN, 5},        {5, kNaN},       {-kInf, kInf},
        {kInf, kInf},     {-1e308, 1e308},  {-limit, limit}, {limit, limit},
        {-limit, -limit}, {1e-300, 2e-300}, {-1e-320, 0}};
    for (const ValueRange &range : ranges)
        verifySaneGrid(ChartMath::chooseGrid(range));

    ChannelHistory history = historyOf({1e308, -1e308, kNaN, kInf, -kInf, -0.0, limit});
    history.setState(7, PointState::Underflow);
    const ValueRange range = ChartMath::updateValueRange(history, 7, {kNaN, kInf});
    QCOMPARE(range.lower, -1e308);
    QCOMPARE(range.upper, limit);
    const ChartGrid grid = ChartMath::chooseGrid(range);
    verifySaneGrid(grid);
    for (int i = 0; i <= 7; ++i) {
        const int y = ChartMath::yOf(ChartMath::plottedValue(history.at(i), grid), grid, kHeight);
        QVERIFY(std::abs(y) <= ChartMath::kCoordinateLimit);
    }

    // Only values that are not numbers: as if nothing was received.
    ChannelHistory nans = historyOf({kNaN, kInf});
    const ValueRange fallback = ChartMath::updateValueRange(nans, 1, {-1, 1});
    QCOMPARE(fallback.lower, -1.0);
    QCOMPARE(fallback.upper, 1.0);

    // A grid nobody chose still gives a position.
    const ChartGrid blank;
    QCOMPARE(ChartMath::yOf(3.0, blank, kHeight), -ChartMath::kCoordinateLimit);
    QCOMPARE(ChartMath::yOf(0.0, blank, kHeight), kHeight - 10);
}

void TestChartMath::pixelPositions() {
    ChartGrid grid;
    grid.bottom = 0;
    grid.top = 320;
    QCOMPARE(ChartMath::yOf(320, grid, kHeight), 30);
    QCOMPARE(ChartMath::yOf(0, grid, kHeight), 190);
    // Halves go to the even neighbour: 30.5 -> 30, 31.5 -> 32, 189.5 -> 190.
    QCOMPARE(ChartMath::yOf(319, grid, kHeight), 30);
    QCOMPARE(ChartMath::yOf(317, grid, kHeight), 32);
    QCOMPARE(ChartMath::yOf(1, grid, kHeight), 190);
    QCOMPARE(ChartMath::yOf(kNaN, grid, kHeight), 190);
    QCOMPARE(ChartMath::yOf(kInf, grid, kHeight), -ChartMath::kCoordinateLimit);
    QCOMPARE(ChartMath::yOf(-kInf, grid, kHeight), ChartMath::kCoordinateLimit);
    QCOMPARE(ChartMath::yOf(-1e308, grid, kHeight), ChartMath::kCoordinateLimit);
    // The height sets the scale: 30 + 60 * 160 / 320.
    QCOMPARE(ChartMath::yOf(160, grid, 100), 60);

    QCOMPARE(ChartMath::xOf(0), 10);
    QCOMPARE(ChartMath::xOf(1), 13);
    QCOMPARE(ChartMath::xOf(30), 100);
}

void TestChartMath::labelTexts() {
    QCOMPARE(ChartMath::gridLabelText(12.5, 1, QLatin1Char(','), 0), QString("12,5"));
    QCOMPARE(ChartMath::gridLabelText(12.5, 1, QLatin1Char(','), 1), QString("12.5"));
    QCOMPARE(ChartMath::gridLabelText(12.5, 1, QLatin1Char(','), 2), QString("12.5"));
    QCOMPARE(ChartMath::gridLabelText(12.5, 1, QLatin1Char('.'), 0), QString("12.5"));
    QCOMPARE(ChartMath::gridLabelText(-0.0005, 4, QLatin1Char(','), 0), QString("-0,0005"));
    QCOMPARE(ChartMath::gridLabelText(150, 0, QLatin1Char(','), 0), QString("150"));

    QCOMPARE(ChartMath::fixedText(0.0003, 8, 4), QString("0.0003"));
    QCOMPARE(ChartMath::fixedText(2.0, 8, 3), QString("2.000"));
    QCOMPARE(ChartMath::fixedText(0.30000000000000004, 8, 1), QString("0.3"));
    QCOMPARE(ChartMath::fixedText(-1.3877787807814457e-17, 8, 2), QString("0.00"));
    QCOMPARE(ChartMath::fixedText(-0.0, 8, 1), QString("0.0"));
    // Eight significant digits, then zeros.
    QCOMPARE(ChartMath::fixedText(1234567.26, 8, 2), QString("1234567.30"));
    QCOMPARE(ChartMath::fixedText(12345678.25, 8, 2), QString("12345678.00"));
    QCOMPARE(ChartMath::fixedText(12345678.0, 8, 0), QString("12345678"));
    // More integer digits than the precision: scientific.
    QCOMPARE(ChartMath::fixedText(123456789.0, 8, 0), QString("1.2345679E8"));
    QCOMPARE(ChartMath::fixedText(99999999.6, 8, 0), QString("1E8"));
    QCOMPARE(ChartMath::fixedText(-1e300, 8, 0), QString("-1E300"));
    QCOMPARE(ChartMath::fixedText(kNaN, 8, 0), QString("NAN"));
    QCOMPARE(ChartMath::fixedText(-kInf, 8, 0), QString("-INF"));
}

QTEST_APPLESS_MAIN(TestChartMath)
#include "test_chartmath.moc"

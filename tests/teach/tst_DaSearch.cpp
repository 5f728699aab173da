#include "teach/DaSearch.h"

#include <QtTest>
#include <cmath>
#include <functional>
#include <limits>

namespace {

// An output whose measured value is a function of the DA value; it records every pass and can
// ask for an abort once a number of passes has been made.
class ModelDriver : public DaSearch::Driver {
public:
    explicit ModelDriver(std::function<double(int)> model) : model_(std::move(model)) {}

    double measureAt(int da) override {
        applied << da;
        return model_(da);
    }
    void passMeasured(int da, double measured) override {
        reportedDa << da;
        reportedValues << measured;
    }
    bool abortRequested() override { return abortAfter >= 0 && applied.size() >= abortAfter; }

    QList<int> applied;
    QList<int> reportedDa;
    QList<double> reportedValues;
    int abortAfter = -1;

private:
    std::function<double(int)> model_;
};

QList<int> steps(int start) {
    QList<int> sequence;
    int step = start;
    do {
        step = DaSearch::halveStep(step);
        sequence << step;
    } while (step != 1);
    return sequence;
}

QList<int> differences(const QList<int> &values) {
    QList<int> result;
    for (int i = 1; i < values.size(); ++i)
        result << std::abs(values[i] - values[i - 1]);
    return result;
}

} // namespace

class TestDaSearch : public QObject {
    Q_OBJECT
private slots:
    void stepHalving();
    void convergesToWithinTolerance();
    void toleranceFirstTestedInThirdPass();
    void exactMatchEndsAtOnce();
    void wideToleranceOnlyForOutputAtIndexZero();
    void abortEndsAfterCurrentPass();
    void notANumberNeverCountsAsMatch();
};

void TestDaSearch::stepHalving() {
    QCOMPARE(steps(5), QList<int>({2, 1}));
    QCOMPARE(steps(50), QList<int>({25, 12, 6, 3, 2, 1}));
    QCOMPARE(steps(400), QList<int>({200, 100, 50, 25, 12, 6, 3, 2, 1}));
    QCOMPARE(DaSearch::halveStep(1), 1);
    QCOMPARE(DaSearch::halveStep(0), 1);
    QCOMPARE(DaSearch::halveStep(7), 4);
    QCOMPARE(DaSearch::halveStep(9), 4);
    QCOMPARE(DaSearch::halveStep(11), 6);
    QCOMPARE(DaSearch::halveStep(4), 2);
}

void TestDaSearch::convergesToWithinTolerance() {
    // 5 uA per DA count; 4 mA lies between 800 and 801.
    ModelDriver driver([](int da) { return 4.0 + (da - 800.3) * 0.005; });
    const DaSearch::Result result = DaSearch::run(driver, {1, 4.0, 793, 50, true});
    QCOMPARE(driver.applied, QList<int>({793, 818, 806, 800, 803, 801, 800}));
    QCOMPARE(differences(driver.applied), QList<int>({25, 12, 6, 3, 2, 1}));
    QVERIFY(!result.aborted);
    QCOMPARE(result.passes, 7);
    // The last pass measured 800 below the target and moved one up: the stored value is 801.
    QCOMPARE(result.da, 801);
    QCOMPARE(driver.reportedDa, driver.applied);
    QCOMPARE(driver.reportedValues.size(), 7);
    QCOMPARE(driver.reportedValues.last(), 4.0 + (800 - 800.3) * 0.005);

    // Measured above the target in the last pass: one below.
    ModelDriver above([](int da) { return 10.0 + (da - 3370.6) * 0.003; });
    const DaSearch::Result down = DaSearch::run(above, {1, 10.0, 3376, 400, true});
    QVERIFY(!down.aborted);
    QCOMPARE(above.applied,
             QList<int>({3376, 3176, 3276, 3326, 3351, 3363, 3369, 3372, 3370, 3371}));
    QCOMPARE(down.da, 3370);
}

void TestDaSearch::toleranceFirstTestedInThirdPass() {
    // Always 1 uA above the target, well within tolerance, yet never exact.
    ModelDriver driver([](int) { return 0.001; });
    const DaSearch::Result result = DaSearch::run(driver, {0, 0.0, 80, 5, false});
    QCOMPARE(result.passes, 3);
    QCOMPARE(driver.applied, QList<int>({80, 78, 77}));
    QCOMPARE(result.da, 76);
}

void TestDaSearch::exactMatchEndsAtOnce() {
    ModelDriver driver([](int da) { return 4.0 + (da - 806) * 0.5; });
    const DaSearch::Result result = DaSearch::run(driver, {1, 4.0, 793, 50, true});
    QCOMPARE(driver.applied, QList<int>({793, 818, 806}));
    QCOMPARE(result.da, 806);
    QCOMPARE(result.passes, 3);
    QVERIFY(!result.aborted);

    // Even on the very first pass.
    ModelDriver first([](int) { return 12.0; });
    const DaSearch::Result atStart = DaSearch::run(first, {3, 12.0, 5605, 5, false});
    QCOMPARE(atStart.da, 5605);
    QCOMPARE(atStart.passes, 1);
}

void TestDaSearch::wideToleranceOnlyForOutputAtIndexZero() {
    // Sits 0.015 off the target on either side of DA 80.
    auto model = [](double target) {
        return [target](int da) { return target + (da >= 80 ? 0.015 : -0.015); };
    };

    ModelDriver output(model(0.0));
    const DaSearch::Result accepted = DaSearch::run(output, {0, 0.0, 80, 5, true});
    QVERIFY(!accepted.aborted);
    QCOMPARE(output.applied, QList<int>({80, 78, 79}));
    QCOMPARE(accepted.da, 80);

    ModelDriver input(model(0.0));
    input.abortAfter = 12;
    const DaSearch::Result refused = DaSearch::run(input, {0, 0.0, 80, 5, false});
    QVERIFY(refused.aborted);
    QCOMPARE(refused.passes, 12);

    ModelDriver outputAt4mA(model(4.0));
    outputAt4mA.abortAfter = 12;
    const DaSearch::Result notAtIndexZero = DaSearch::run(outputAt4mA, {1, 4.0, 80, 5, true});
    QVERIFY(notAtIndexZero.aborted);
    QCOMPARE(notAtIndexZero.passes, 12);

    QCOMPARE(DaSearch::tolerance({0, 0.0, 80, 5, true}), 0.02);
    QCOMPARE(DaSearch::tolerance({0, 0.0, 80, 5, false}), 0.004);
    QCOMPARE(DaSearch::tolerance({2, 20.0, 3707, 400, true}), 0.004);
}

void TestDaSearch::abortEndsAfterCurrentPass() {
    ModelDriver driver([](int da) { return 20.0 + (da - 3650.4) * 0.0055; });
    driver.abortAfter = 2;
    const DaSearch::Result result = DaSearch::run(driver, {2, 20.0, 3707, 400, true});
    QVERIFY(result.aborted);
    QCOMPARE(result.passes, 2);
    QCOMPARE(driver.applied, QList<int>({3707, 3507}));
    QCOMPARE(result.da, 3607);

    // An abort that arrives during the exactly matching pass is still reported.
    ModelDriver exact([](int) { return 8.0; });
    exact.abortAfter = 1;
    QVERIFY(DaSearch::run(exact, {2, 8.0, 3730, 5, false}).aborted);
}

void TestDaSearch::notANumberNeverCountsAsMatch() {
    ModelDriver driver([](int) { return std::numeric_limits<double>::quiet_NaN(); });
    driver.abortAfter = 5;
    const DaSearch::Result result = DaSearch::run(driver, {0, 0.0, 80, 5, true});
    QVERIFY(result.aborted);
    QCOMPARE(result.passes, 5);
    QCOMPARE(result.da, 80);
}

QTEST_APPLESS_MAIN(TestDaSearch)
#include "tst_DaSearch.moc"

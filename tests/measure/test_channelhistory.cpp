#include "measure/ChannelHistory.h"

#include <QtTest>

#include <stdexcept>

class TestChannelHistory : public QObject {
    Q_OBJECT

private slots:
    void clearStatesKeepsValues();
    void indexGrowsUpToTheLastPoint();
    void thirtyOneIntervalsDropTheOldestPoint();
    void strayIndexesStayInside();
};

void TestChannelHistory::clearStatesKeepsValues() {
    ChannelHistory history;
    history.setValue(0, 12.5);
    history.setState(1, PointState::Underflow);
    history.setState(2, PointState::Overflow);
    QCOMPARE(history.at(0).state, PointState::Value);
    QCOMPARE(history.at(1).state, PointState::Underflow);

    history.clearStates();
    for (int i = 0; i < ChannelHistory::kPointCount; ++i)
        QCOMPARE(history.at(i).state, PointState::Empty);
    QCOMPARE(history.at(0).value, 12.5);
}

void TestChannelHistory::indexGrowsUpToTheLastPoint() {
    ChannelHistory history;
    for (int i = 0; i < ChannelHistory::kPointCount; ++i)
        history.setValue(i, i);
    int index = 0;
    for (int step = 1; step <= 30; ++step) {
        index = ChannelHistory::advance(index, {&history});
        QCOMPARE(index, step);
    }
    // Growing the index moves nothing.
    for (int i = 0; i < ChannelHistory::kPointCount; ++i)
        QCOMPARE(history.at(i).value, double(i));
}

void TestChannelHistory::thirtyOneIntervalsDropTheOldestPoint() {
    ChannelHistory pressure;
    ChannelHistory input1;
    ChannelHistory input2;
    int index = 0;
    // Interval k writes the value k at the index, as a poll does, then the histories advance.
    for (int k = 0; k < 40; ++k) {
        pressure.setValue(index, k);
        input1.setValue(index, 100 + k);
        input2.setState(index, k % 2 ? PointState::Overflow : PointState::Underflow);
        index = ChannelHistory::advance(index, {&pressure, &input1, &input2});
    }
    QCOMPARE(index, ChannelHistory::kLastIndex);
    // Intervals 10..39 sit in points 0..29; point 30 still holds interval 39 until the next
    // poll overwrites it.
    for (int i = 0; i < 30; ++i) {
        QCOMPARE(pressure.at(i).value, double(10 + i));
        QCOMPARE(input1.at(i).value, double(110 + i));
        QCOMPARE(input2.at(i).state, (10 + i) % 2 ? PointState::Overflow : PointState::Underflow);
    }
    QCOMPARE(pressure.at(30).value, 39.0);
    QCOMPARE(pressure.at(30).state, PointState::Value);

    // The 31st interval after a start is the first to drop a point.
    ChannelHistory fresh;
    index = 0;
    for (int k = 0; k < 31; ++k) {
        fresh.setValue(index, k);
        index = ChannelHistory::advance(index, {&fresh});
    }
    QCOMPARE(index, 30);
    QCOMPARE(fresh.at(0).value, 1.0);
    QCOMPARE(fresh.at(29).value, 30.0);
}

void TestChannelHistory::strayIndexesStayInside() {
    ChannelHistory history;
    history.setValue(0, 1.0);
    history.setValue(1, 2.0);
    QCOMPARE(ChannelHistory::advance(-7, {&history}), 0);
    QCOMPARE(history.at(0).value, 1.0);
    QCOMPARE(ChannelHistory::advance(99, {&history, nullptr}), 30);
    QCOMPARE(history.at(0).value, 2.0);

    QCOMPARE(ChannelHistory::clampIndex(-1), 0);
    QCOMPARE(ChannelHistory::clampIndex(17), 17);
    QCOMPARE(ChannelHistory::clampIndex(31), 30);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, history.at(31));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, history.setValue(-1, 0.0));
}

QTEST_APPLESS_MAIN(TestChannelHistory)
#include "test_channelhistory.moc"

#include "teach/PressurePoints.h"
#include "teach/TeachValueTable.h"

#include <QtTest>

class TestPressurePoints : public QObject {
    Q_OBJECT
private slots:
    void pointTable();
    void lineSides();
    void indexSteps();
    void commands();
};

void TestPressurePoints::pointTable() {
    struct Expected {
        int index, nominal, at100, at250;
        const char *label;
    };
    const Expected table[] = {
        {0, -120, -120, -300, "M120"}, {1, -100, -100, -250, "M100"}, {3, -80, -80, -200, "M80"},
        {5, -60, -60, -150, "M60"},    {7, -40, -40, -100, "M40"},    {9, -20, -20, -50, "M20"},
        {11, 0, 0, 0, "PM0"},          {13, 20, 20, 50, "P20"},       {15, 40, 40, 100, "P40"},
        {17, 60, 60, 150, "P60"},      {19, 80, 80, 200, "P80"},      {21, 100, 100, 250, "P100"},
        {22, 120, 120, 300, "P120"},
    };
    for (const Expected &e : table) {
        QCOMPARE(PressurePoints::nominal(e.index), e.nominal);
        QCOMPARE(PressurePoints::generated(e.index, 1), e.at100);
        QCOMPARE(PressurePoints::generated(e.index, 0), e.at250);
        QCOMPARE(PressurePoints::labelName(e.index), QString(e.label));
    }
    // Untaught indices still follow the rule (the run never visits them).
    QCOMPARE(PressurePoints::nominal(2), -90);
    QCOMPARE(PressurePoints::generated(2, 0), -225);

    // The labels of the taught points are the 13 pressure rows of the teach value table, and
    // their device names carry the index.
    const std::vector<int> indices = PressurePoints::taughtIndices();
    QCOMPARE(int(indices.size()), PressurePoints::TaughtCount);
    const auto &rows = TeachValueTable::rows();
    for (int k = 0; k < PressurePoints::TaughtCount; ++k) {
        QCOMPARE(PressurePoints::labelName(indices[k]), QLatin1String(rows[k].valueLabel));
        QCOMPARE(QLatin1String("PStuetz") + QString::number(indices[k]),
                 QLatin1String(rows[k].deviceName));
    }
}

void TestPressurePoints::lineSides() {
    const LineSide negative = PressurePoints::lineSide(PressurePoints::generated(0, 0));
    QVERIFY(!negative.dtr);
    QVERIFY(negative.rts);
    const LineSide positive = PressurePoints::lineSide(PressurePoints::generated(13, 1));
    QVERIFY(positive.dtr);
    QVERIFY(!positive.rts);
    const LineSide zero = PressurePoints::lineSide(PressurePoints::generated(11, 0));
    QVERIFY(!zero.dtr);
    QVERIFY(!zero.rts);
}

void TestPressurePoints::indexSteps() {
    QCOMPARE(PressurePoints::nextIndex(0), 1);
    QCOMPARE(PressurePoints::nextIndex(1), 3);
    QCOMPARE(PressurePoints::nextIndex(11), 13);
    QCOMPARE(PressurePoints::nextIndex(19), 21);
    QCOMPARE(PressurePoints::nextIndex(21), 22);
    QCOMPARE(PressurePoints::nextIndex(22), 24);
    const std::vector<int> expected = {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 22};
    QCOMPARE(PressurePoints::taughtIndices(), expected);
}

void TestPressurePoints::commands() {
    QCOMPARE(PressurePoints::setPointCommand(0, 0), QString(" _pcs4 func ctrl 300 Pa"));
    QCOMPARE(PressurePoints::setPointCommand(22, 0), QString(" _pcs4 func ctrl 300 Pa"));
    QCOMPARE(PressurePoints::setPointCommand(1, 0), QString(" _pcs4 func ctrl 250 Pa"));
    QCOMPARE(PressurePoints::setPointCommand(0, 1), QString(" _pcs4 func ctrl 120 Pa"));
    QCOMPARE(PressurePoints::setPointCommand(9, 1), QString(" _pcs4 func ctrl 20 Pa"));

    QCOMPARE(PressurePoints::teachCommand(0), QString(">TPStuetz0"));
    QCOMPARE(PressurePoints::teachCommand(21), QString(">TPStuetz21"));
    QCOMPARE(PressurePoints::replyValue("TPStuetz11 -35", 11), QString("-35"));
    QCOMPARE(PressurePoints::replyValue("TPStuetz1  12 34", 1), QString("1234"));
    QCOMPARE(PressurePoints::replyValue("Err", 5), QString("Err"));
    QCOMPARE(PressurePoints::replyValue("TPStuetz5 Err", 5), QString("Err"));
    // Only the own index is removed.
    QCOMPARE(PressurePoints::replyValue("TPStuetz3 7", 5), QString("TPStuetz37"));
}

QTEST_APPLESS_MAIN(TestPressurePoints)
#include "tst_PressurePoints.moc"

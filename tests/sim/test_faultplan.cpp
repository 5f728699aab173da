#include "sim/FaultPlan.h"

#include <QtTest>

using sim::FaultPlan;
using sim::FaultRule;
using Kind = FaultRule::Kind;

class TestFaultPlan : public QObject {
    Q_OBJECT

private slots:
    void matchesByTextAndWearsOff();
    void matchesByCommandNumber();
    void delaysAddUpAndFirstFaultWins();
    void faultBytes();
};

void TestFaultPlan::matchesByTextAndWearsOff() {
    FaultPlan plan;
    QVERIFY(plan.isEmpty());
    plan.add(FaultRule::onCommand("?UnitP", Kind::Err));
    plan.add(FaultRule::onPrefix(">Warn", Kind::Empty, 2));
    plan.add(FaultRule::customReply("?ScalPdown", "ScalPup 5"));

    QVERIFY(plan.decide("?UnitPx", 1).normal);
    FaultPlan::Decision d = plan.decide("?UnitP", 2);
    QVERIFY(!d.normal);
    QCOMPARE(d.kind, Kind::Err);
    QVERIFY(plan.decide("?UnitP", 3).normal); // once only: the resend is answered

    QCOMPARE(plan.decide(">WarnPup 5", 4).kind, Kind::Empty);
    QCOMPARE(plan.decide(">WarnPdown 5", 5).kind, Kind::Empty);
    QVERIFY(plan.decide(">WarnPHyst 5", 6).normal);
    QVERIFY(plan.decide("?WarnPup", 7).normal);

    for (int i = 0; i < 3; ++i) {
        d = plan.decide("?ScalPdown", 8 + i);
        QCOMPARE(d.kind, Kind::CustomReply);
        QCOMPARE(d.customReply, QByteArray("ScalPup 5"));
    }
    plan.clear();
    QVERIFY(plan.isEmpty());
    QVERIFY(plan.decide("?ScalPdown", 11).normal);
}

void TestFaultPlan::matchesByCommandNumber() {
    FaultPlan plan;
    plan.add(FaultRule::onCommandNumber(3, Kind::Garbage));
    plan.add(FaultRule::onCommandNumber(5, Kind::Silence, FaultRule::Always));
    QVERIFY(plan.decide("a", 1).normal);
    QVERIFY(plan.decide("a", 2).normal);
    QCOMPARE(plan.decide("a", 3).kind, Kind::Garbage);
    QVERIFY(plan.decide("a", 4).normal);
    for (int n = 5; n < 10; ++n)
        QCOMPARE(plan.decide("a", n).kind, Kind::Silence);

    FaultPlan twice;
    twice.add(FaultRule::onCommandNumber(2, Kind::NoCr, 2));
    QVERIFY(twice.decide("a", 1).normal);
    QCOMPARE(twice.decide("a", 2).kind, Kind::NoCr);
    QCOMPARE(twice.decide("a", 3).kind, Kind::NoCr);
    QVERIFY(twice.decide("a", 4).normal);
}

void TestFaultPlan::delaysAddUpAndFirstFaultWins() {
    FaultPlan plan;
    plan.add(FaultRule::delayFrom(1, 100));
    plan.add(FaultRule::onCommand("MZ", Kind::HangUp));
    plan.add(FaultRule::onPrefix("M", Kind::Flood));
    FaultRule slowZero = FaultRule::onCommand("MZ", Kind::Delay);
    slowZero.delayMs = 50;
    plan.add(slowZero);

    FaultPlan::Decision d = plan.decide("?IP", 1);
    QVERIFY(d.normal);
    QCOMPARE(d.delayMs, 100);
    d = plan.decide("MZ", 2);
    QCOMPARE(d.kind, Kind::HangUp);
    QCOMPARE(d.delayMs, 150);
    // The hang-up is used up; the flood rule now wins, the one-off delay is gone.
    d = plan.decide("MZ", 3);
    QCOMPARE(d.kind, Kind::Flood);
    QCOMPARE(d.delayMs, 100);
}

void TestFaultPlan::faultBytes() {
    const QByteArray garbage = FaultPlan::garbageBytes();
    QVERIFY(garbage.contains('\0'));
    QVERIFY(std::any_of(garbage.begin(), garbage.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    QVERIFY(!garbage.contains('\r'));
    const QByteArray flood = FaultPlan::floodBytes();
    QVERIFY(flood.size() > 1024);
    QVERIFY(!flood.contains('\r'));
}

QTEST_APPLESS_MAIN(TestFaultPlan)
#include "test_faultplan.moc"

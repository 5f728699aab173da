#include "teach/AnalogPoints.h"
#include "teach/TeachValueTable.h"

#include <QtTest>

class TestAnalogPoints : public QObject {
    Q_OBJECT
private slots:
    void outputPoints();
    void inputSections();
    void inputPoints();
    void inputReplies();
};

void TestAnalogPoints::outputPoints() {
    const auto &current = AnalogPoints::outputPoints(Quantity::Current);
    QCOMPARE(int(current.size()), 3);
    QCOMPARE(current[1].target, 4);
    QCOMPARE(current[1].startDa, 793);
    QCOMPARE(current[1].startStep, 50);
    QCOMPARE(current[2].startDa, 3707);
    QCOMPARE(current[2].startStep, 400);
    QCOMPARE(AnalogPoints::outputStoreCommand(current[0], 83), QString(">StIDC0 83"));
    QCOMPARE(AnalogPoints::outputStoreCommand(current[2], 3712), QString(">StIDC2 3712"));

    const auto &voltage = AnalogPoints::outputPoints(Quantity::Voltage);
    QCOMPARE(int(voltage.size()), 2);
    QCOMPARE(voltage[0].startDa, 80);
    QCOMPARE(voltage[0].startStep, 5);
    QCOMPARE(voltage[1].target, 10);
    QCOMPARE(voltage[1].startDa, 3376);
    QCOMPARE(AnalogPoints::outputStoreCommand(voltage[0], 79), QString(">StVDC1 79"));
    QCOMPARE(AnalogPoints::outputStoreCommand(voltage[1], 3380), QString(">StVDC3 3380"));
    QCOMPARE(AnalogPoints::outputStoreCommand(voltage[1], -2), QString(">StVDC3 -2"));

    QCOMPARE(AnalogPoints::outputDaCommand(Quantity::Current, 793), QString(">IDC 793"));
    QCOMPARE(AnalogPoints::outputDaCommand(Quantity::Voltage, 3376), QString(">VDC 3376"));

    // Each store prefix names the device value shown in the point's label.
    for (Quantity q : {Quantity::Current, Quantity::Voltage}) {
        for (const OutputPoint &p : AnalogPoints::outputPoints(q)) {
            const TeachValueRow *row = TeachValueTable::findByValueLabel(p.valueLabel);
            QVERIFY(row);
            QCOMPARE(row->group, TeachGroup::OutD);
            QCOMPARE(QLatin1String(p.storePrefix),
                     QLatin1Char('>') + QLatin1String(row->deviceName) + QLatin1Char(' '));
        }
    }
}

void TestAnalogPoints::inputSections() {
    const auto &sections = AnalogPoints::inputSections();
    QCOMPARE(int(sections.size()), 4);
    QCOMPARE(sections[0].multiplexerCode, 2);
    QCOMPARE(sections[1].multiplexerCode, 0);
    QCOMPARE(sections[2].multiplexerCode, 3);
    QCOMPARE(sections[3].multiplexerCode, 1);
    QCOMPARE(sections[2].sourceSetting, "Agilent_IN1_2_Strom");
    QCOMPARE(sections[2].measureSetting, "Agilent_IN1_2_Strommessung");
    QCOMPARE(sections[3].sourceSetting, "Agilent_IN1_2_Spg");
    QCOMPARE(sections[3].measureSetting, "Agilent_IN1_2_Spgmessung");
    QCOMPARE(sections[1].checkBox, "CheckBox_IN1_Spannung");
    QCOMPARE(sections[1].statusText, "IN-1: Spannung wird geteacht ...");
    QCOMPARE(sections[2].statusText, "IN-2: Strom wird geteacht ...");
    QCOMPARE(AnalogPoints::inputTeachCommand(sections[0], 3), QString(">TIN1IStuetz3"));
    QCOMPARE(AnalogPoints::inputTeachCommand(sections[3], 6), QString(">TIN2UStuetz6"));
}

void TestAnalogPoints::inputPoints() {
    const auto &current = AnalogPoints::inputPoints(Quantity::Current);
    const auto &voltage = AnalogPoints::inputPoints(Quantity::Voltage);
    QCOMPARE(int(current.size()), AnalogPoints::InputPointCount);
    QCOMPARE(int(voltage.size()), AnalogPoints::InputPointCount);
    QCOMPARE(current[0].startMillivolts, -21);
    QCOMPARE(current[1].startMillivolts, 1854);
    QCOMPARE(current[6].target, 21);
    QCOMPARE(current[6].startMillivolts, 9825);
    QCOMPARE(voltage[0].startMillivolts, -6);
    QCOMPARE(voltage[6].target, 11);
    QCOMPARE(voltage[6].startMillivolts, 10990);

    // Every input label is a teach value of the right input, in table order.
    for (const InputSection &section : AnalogPoints::inputSections()) {
        const auto &points = AnalogPoints::inputPoints(section.quantity);
        for (const InputPoint &point : points) {
            const QString label = AnalogPoints::inputValueLabel(section, point);
            const TeachValueRow *row = TeachValueTable::findByValueLabel(label);
            QVERIFY2(row, qPrintable(label));
            QCOMPARE(row->group, section.input == 1 ? TeachGroup::In1 : TeachGroup::In2);
            QCOMPARE(QLatin1String(row->deviceName),
                     QLatin1String(section.teachName).mid(1) + QString::number(point.index));
        }
    }
    QCOMPARE(AnalogPoints::inputValueLabel(AnalogPoints::inputSections()[0], current[6]),
             QString("IN1I21mA"));
    QCOMPARE(AnalogPoints::inputValueLabel(AnalogPoints::inputSections()[3], voltage[0]),
             QString("IN2U0V"));
}

void TestAnalogPoints::inputReplies() {
    const InputSection &in2u = AnalogPoints::inputSections()[3];
    QCOMPARE(AnalogPoints::inputReplyValue(in2u, "TIN2UStuetz6 10512", 6), QString("10512"));
    QCOMPARE(AnalogPoints::inputReplyValue(in2u, "TIN2UStuetz6 Err", 6), QString("Err"));
    QCOMPARE(AnalogPoints::inputReplyValue(in2u, " Err ", 2), QString("Err"));
    const InputSection &in1i = AnalogPoints::inputSections()[0];
    QCOMPARE(AnalogPoints::inputReplyValue(in1i, "TIN1IStuetz3 4 711", 3), QString("4711"));
    QCOMPARE(AnalogPoints::inputReplyValue(in1i, "TIN1UStuetz3 1", 3), QString("TIN1UStuetz31"));
    QCOMPARE(AnalogPoints::unit(Quantity::Current), QString("mA"));
    QCOMPARE(AnalogPoints::unit(Quantity::Voltage), QString("V"));
}

QTEST_APPLESS_MAIN(TestAnalogPoints)
#include "tst_AnalogPoints.moc"

#include "teach/TeachValueTable.h"

#include <QSet>
#include <QtTest>

class TestTeachValueTable : public QObject {
    Q_OBJECT
private slots:
    void tableShape();
    void sentAndStoredRows();
    void fileSectionsAndKeys();
    void rangeCaptions();
    void startCaptions();
    void sendCommands();
    void lookups();
};

void TestTeachValueTable::tableShape() {
    const auto &rows = TeachValueTable::rows();
    QCOMPARE(int(rows.size()), TeachValueTable::RowCount);
    QSet<QString> devices, labels;
    for (int i = 0; i < int(rows.size()); ++i) {
        QCOMPARE(rows[i].number, i + 1);
        devices << QLatin1String(rows[i].deviceName);
        labels << QLatin1String(rows[i].valueLabel);
        const bool correction = rows[i].group == TeachGroup::Correction;
        QCOMPARE(QLatin1String(rows[i].captionLabel).isEmpty(), correction);
        if (!correction)
            QCOMPARE(QLatin1String(rows[i].captionLabel),
                     QLatin1String("Label") + QLatin1String(rows[i].valueLabel));
    }
    QCOMPARE(devices.size(), 61);
    QCOMPARE(labels.size(), 61);

    // The pressure points use the device indices 0, the odd ones and 22.
    const QStringList pressure = {"PStuetz0",  "PStuetz1",  "PStuetz3",  "PStuetz5",  "PStuetz7",
                                  "PStuetz9",  "PStuetz11", "PStuetz13", "PStuetz15", "PStuetz17",
                                  "PStuetz19", "PStuetz21", "PStuetz22"};
    for (int i = 0; i < 13; ++i) {
        QCOMPARE(QLatin1String(rows[i].deviceName), pressure[i]);
        QCOMPARE(rows[i].group, TeachGroup::Pressure);
        QCOMPARE(QLatin1String(rows[15 + i].deviceName),
                 QString(pressure[i]).replace("PStuetz", "PStuetzKorr"));
        QCOMPARE(QLatin1String(rows[15 + i].valueLabel),
                 QLatin1String(rows[i].valueLabel) + QLatin1String("korr"));
    }
    QCOMPARE(QLatin1String(rows[6].valueLabel), QLatin1String("PM0"));
    QCOMPARE(QLatin1String(rows[13].deviceName), QLatin1String("CalibMinus"));
    QCOMPARE(QLatin1String(rows[14].valueLabel), QLatin1String("KalibPlus"));
    QCOMPARE(QLatin1String(rows[31].deviceName), QLatin1String("StVDC1"));
    QCOMPARE(QLatin1String(rows[31].valueLabel), QLatin1String("U0V"));
    QCOMPARE(QLatin1String(rows[32].deviceName), QLatin1String("StVDC3"));
    QCOMPARE(QLatin1String(rows[39].valueLabel), QLatin1String("IN1I21mA"));
    QCOMPARE(QLatin1String(rows[46].deviceName), QLatin1String("IN1UStuetz6"));
    QCOMPARE(QLatin1String(rows[46].valueLabel), QLatin1String("IN1U11V"));
    QCOMPARE(QLatin1String(rows[60].deviceName), QLatin1String("IN2UStuetz6"));
    QCOMPARE(rows[60].group, TeachGroup::In2);
}

void TestTeachValueTable::sentAndStoredRows() {
    const auto sent = TeachValueTable::sentRows();
    const auto stored = TeachValueTable::storedRows();
    QCOMPARE(int(sent.size()), TeachValueTable::StoredCount);
    QCOMPARE(int(stored.size()), TeachValueTable::StoredCount);
    QList<int> expectedNumbers;
    for (int n = 1; n <= 61; ++n) {
        if (n < 16 || n > 28)
            expectedNumbers << n;
    }
    QList<int> sentNumbers;
    for (const TeachValueRow *row : sent)
        sentNumbers << row->number;
    QCOMPARE(sentNumbers, expectedNumbers);
    for (const TeachValueRow *row : sent)
        QVERIFY(row->group != TeachGroup::Correction);
}

void TestTeachValueTable::fileSectionsAndKeys() {
    const QStringList pressureKeys = {
        "M120", "M100", "M80",  "M60",        "M40",       "M20",  "PM0",  "P20",   "P40", "P60",
        "P80",  "P100", "P120", "KalibMinus", "KalibPlus", "I0mA", "I4mA", "I20mA", "U0V", "U10V"};
    QStringList expected;
    for (const QString &key : pressureKeys)
        expected << "interner Druck/" + key;
    for (int input = 1; input <= 2; ++input) {
        for (int mA : {0, 4, 8, 12, 16, 20, 21})
            expected << QString("Input %1/IN%1I%2mA").arg(input).arg(mA);
        for (int v : {0, 2, 4, 6, 8, 10, 11})
            expected << QString("Input %1/IN%1U%2V").arg(input).arg(v);
    }
    QStringList actual;
    for (const TeachValueRow *row : TeachValueTable::storedRows())
        actual << QLatin1String(row->fileSection) + QLatin1Char('/') +
                      QLatin1String(row->valueLabel);
    QCOMPARE(actual, expected);
    for (const TeachValueRow &row : TeachValueTable::rows())
        QCOMPARE(TeachValueTable::isStored(row), row.group != TeachGroup::Correction);
}

void TestTeachValueTable::rangeCaptions() {
    const auto rows = TeachValueTable::rangeCaptionRows();
    QCOMPARE(int(rows.size()), 15);
    QCOMPARE(QLatin1String(rows.back()->captionLabel), QLatin1String("LabelKalibPlus"));

    const TeachValueRow *m120 = TeachValueTable::findByValueLabel("M120");
    QCOMPARE(TeachValueTable::caption(*m120, 1), QString("-120 Pa:"));
    QCOMPARE(TeachValueTable::caption(*m120, 0), QString("-300 Pa:"));
    QCOMPARE(TeachValueTable::caption(*m120, -1), QString("-300 Pa:"));
    QCOMPARE(TeachValueTable::caption(*m120, 7), QString("-300 Pa:"));

    // In the 250 Pa range M40 and P40 read what M100 and P100 read in the 100 Pa range.
    const TeachValueRow *m40 = TeachValueTable::findByValueLabel("M40");
    const TeachValueRow *m100 = TeachValueTable::findByValueLabel("M100");
    const TeachValueRow *p40 = TeachValueTable::findByValueLabel("P40");
    const TeachValueRow *p100 = TeachValueTable::findByValueLabel("P100");
    QCOMPARE(TeachValueTable::caption(*m40, 0), TeachValueTable::caption(*m100, 1));
    QCOMPARE(TeachValueTable::caption(*p40, 0), QString("100 Pa:"));
    QCOMPARE(TeachValueTable::caption(*p100, 1), QString("100 Pa:"));
    QCOMPARE(TeachValueTable::caption(*TeachValueTable::findByValueLabel("M20"), 0),
             QString("-50 Pa:"));
    QCOMPARE(TeachValueTable::caption(*TeachValueTable::findByValueLabel("PM0"), 0),
             QString("0 Pa:"));

    const TeachValueRow *minus = TeachValueTable::findByValueLabel("KalibMinus");
    const TeachValueRow *plus = TeachValueTable::findByValueLabel("KalibPlus");
    QCOMPARE(TeachValueTable::caption(*minus, 0), QString("Nach-Kalibr. Minus (-250 Pa):"));
    QCOMPARE(TeachValueTable::caption(*plus, 1), QString("Nach-Kalibr. Plus (100 Pa):"));

    const TeachValueRow *in2 = TeachValueTable::findByValueLabel("IN2U10V");
    QVERIFY(!TeachValueTable::hasRangeCaption(*in2));
    QCOMPARE(TeachValueTable::caption(*in2, 0), QString("10 V:"));
    QCOMPARE(TeachValueTable::caption(*in2, 1), QString("10 V:"));
}

void TestTeachValueTable::startCaptions() {
    QCOMPARE(TeachValueTable::startCaption(*TeachValueTable::findByValueLabel("P120")),
             QString("--- Pa:"));
    QCOMPARE(TeachValueTable::startCaption(*TeachValueTable::findByValueLabel("KalibMinus")),
             QString("Nach-Kalibr. Minus (--- Pa):"));
    QCOMPARE(TeachValueTable::startCaption(*TeachValueTable::findByValueLabel("KalibPlus")),
             QString("Nach-Kalibr. Plus (--- Pa):"));
    QCOMPARE(TeachValueTable::startCaption(*TeachValueTable::findByValueLabel("I20mA")),
             QString("20 mA:"));
}

void TestTeachValueTable::sendCommands() {
    const QStringList commands = TeachValueTable::sendCommands(
        [](const TeachValueRow &row) { return QString::number(row.number * 10); });
    QCOMPARE(commands.size(), TeachValueTable::SendExchangeCount);
    QCOMPARE(commands.first(), QString(">MTeach"));
    QCOMPARE(commands[1], QString(">PStuetz0 10"));
    QCOMPARE(commands[13], QString(">PStuetz22 130"));
    QCOMPARE(commands[14], QString(">CalibMinus 140"));
    QCOMPARE(commands[15], QString(">CalibPlus 150"));
    QCOMPARE(commands[16], QString(">StIDC0 290"));
    QCOMPARE(commands[20], QString(">StVDC3 330"));
    QCOMPARE(commands[21], QString(">IN1IStuetz0 340"));
    QCOMPARE(commands[34], QString(">IN1UStuetz6 470"));
    QCOMPARE(commands[35], QString(">IN2IStuetz0 480"));
    QCOMPARE(commands[48], QString(">IN2UStuetz6 610"));
    QCOMPARE(commands[49], QString("SavePar"));
    QCOMPARE(commands[50], QString(">MTeach"));
    for (const QString &command : commands)
        QVERIFY2(!command.contains("Korr"), qPrintable(command));

    // Captions go out as they stand: empty, with a decimal comma, or any text.
    const TeachValueRow &first = TeachValueTable::rows().front();
    QCOMPARE(TeachValueTable::valueCommand(first, QString()), QString(">PStuetz0 "));
    QCOMPARE(TeachValueTable::valueCommand(first, "12,5"), QString(">PStuetz0 12,5"));
    QCOMPARE(TeachValueTable::valueCommand(first, " 9999 "), QString(">PStuetz0  9999 "));
}

void TestTeachValueTable::lookups() {
    QCOMPARE(TeachValueTable::findByDeviceName("StVDC3")->valueLabel, "U10V");
    QCOMPARE(TeachValueTable::findByValueLabel("IN2I0mA")->deviceName, "IN2IStuetz0");
    QVERIFY(!TeachValueTable::findByValueLabel("m120"));
    QVERIFY(!TeachValueTable::findByDeviceName("PStuetz2"));
}

QTEST_APPLESS_MAIN(TestTeachValueTable)
#include "tst_TeachValueTable.moc"

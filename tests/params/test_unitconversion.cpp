// Conversion factors of the pressure units and the conversion of a value text to Pa.
#include "base/Errors.h"
#include "params/UnitConversion.h"

#include <QtTest>

class TestUnitConversion : public QObject {
    Q_OBJECT

private slots:
    void factorsAreTheConventionalOnes() {
        const QList<QPair<QString, double>> expected = {
            {"hPa", 100.0},     {"kPa", 1000.0},   {"mbar", 100.0},    {"bar", 100000.0},
            {"psi", 6894.757},  {"Psi", 6894.757}, {"mmH2O", 9.80665}, {"inH2O", 249.0889},
            {"mmHg", 133.3224}, {"inHg", 3386.389}};
        QCOMPARE(int(UnitConversion::units().size()), expected.size());
        for (const auto &[unit, pascal] : expected) {
            const std::optional<double> factor = UnitConversion::factor(unit);
            QVERIFY2(factor.has_value(), qPrintable(unit));
            QCOMPARE(*factor, pascal);
        }
    }

    void unitNamesMatchExactly() {
        for (const char *unknown :
             {"Unit", "Pa", "", "PSI", "HPA", "mbar ", " bar", "mmh2o", "Bar"})
            QVERIFY2(!UnitConversion::factor(QString::fromLatin1(unknown)), unknown);
    }

    void convertsWithTheGivenSeparator() {
        QCOMPARE(UnitConversion::toPascalText("0,5", "mbar", ','), QStringLiteral("50"));
        QCOMPARE(UnitConversion::toPascalText("2,5", "hPa", ','), QStringLiteral("250"));
        QCOMPARE(UnitConversion::toPascalText("1", "psi", ','), QStringLiteral("6894,757"));
        QCOMPARE(UnitConversion::toPascalText("1", "Psi", '.'), QStringLiteral("6894.757"));
        QCOMPARE(UnitConversion::toPascalText("1", "bar", ','), QStringLiteral("100000"));
        QCOMPARE(UnitConversion::toPascalText("-0,25", "kPa", ','), QStringLiteral("-250"));
        QCOMPARE(UnitConversion::toPascalText("10", "mmH2O", ','), QStringLiteral("98,0665"));
        QCOMPARE(UnitConversion::toPascalText("1", "inH2O", '.'), QStringLiteral("249.0889"));
        QCOMPARE(UnitConversion::toPascalText("1", "mmHg", '.'), QStringLiteral("133.3224"));
        QCOMPARE(UnitConversion::toPascalText("1", "inHg", '.'), QStringLiteral("3386.389"));
        // 1.1 * 100 is 110.00000000000001 in binary; the text has 15 significant digits.
        QCOMPARE(UnitConversion::toPascalText("1,1", "hPa", ','), QStringLiteral("110"));
        QCOMPARE(UnitConversion::toPascalText(" 3 ", "mbar", ','), QStringLiteral("300"));
    }

    void unknownUnitGivesNoResultWhateverTheValue() {
        QCOMPARE(UnitConversion::toPascalText("12", "Unit", ','), QString());
        QCOMPARE(UnitConversion::toPascalText("abc", "Pa", ','), QString());
    }

    void valueThatIsNoNumberFailsWithTheToolkitText() {
        const QList<QPair<QString, QChar>> bad = {
            {"abc", ','}, {"", ','}, {"0.5", ','}, {"0,5", '.'}, {"1e999", ','}};
        for (const auto &[value, separator] : bad) {
            try {
                UnitConversion::toPascalText(value, "mbar", separator);
                QFAIL(qPrintable("no failure for " + value));
            } catch (const EConvertError &error) {
                QCOMPARE(error.message(),
                         QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(value));
            }
        }
    }

    void productOutsideTheDoubleRangeFails() {
        QVERIFY_THROWS_EXCEPTION(EConvertError, UnitConversion::toPascalText("1e306", "bar", '.'));
        QCOMPARE(UnitConversion::toPascalText("1e300", "bar", '.'), QStringLiteral("1E305"));
    }
};

QTEST_GUILESS_MAIN(TestUnitConversion)
#include "test_unitconversion.moc"

#include "base/Errors.h"
#include "base/NumberText.h"

#include <QLocale>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace NumberText;

namespace {

const QChar Comma(',');
const QChar Point('.');

QString convertErrorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const EConvertError &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void toFloatAccepts_data();
    void toFloatAccepts();
    void toFloatRejects_data();
    void toFloatRejects();
    void toFloatLimits();
    void toInt();
    void fromFloat_data();
    void fromFloat();
    void fromFloatRoundTrips();
    void fixed_data();
    void fixed();
    void localDecimalSeparator();
    void passwordText();
};

void TestNumberText::toFloatAccepts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<double>("expected");
    QTest::newRow("reply with blank") << " -250" << Comma << -250.0;
    QTest::newRow("comma") << "2,50" << Comma << 2.5;
    QTest::newRow("point") << "12.5" << Point << 12.5;
    QTest::newRow("plus sign") << "+7" << Point << 7.0;
    QTest::newRow("blanks around") << " \t 3,25 \t " << Comma << 3.25;
    QTest::newRow("leading zeros") << "000042" << Comma << 42.0;
    QTest::newRow("no integer digits") << ",5" << Comma << 0.5;
    QTest::newRow("signed, no integer digits") << "-,5" << Comma << -0.5;
    QTest::newRow("no fraction digits") << "5," << Comma << 5.0;
    QTest::newRow("exponent") << "1,5e3" << Comma << 1500.0;
    QTest::newRow("exponent upper case, signed") << "-2.5E-7" << Point << -2.5e-7;
    QTest::newRow("exponent plus") << "1E+2" << Point << 100.0;
    QTest::newRow("exponent without separator") << "3e0" << Comma << 3.0;
    QTest::newRow("zero") << "0" << Comma << 0.0;
    QTest::newRow("many digits") << "6894,757000000000000000000001" << Comma << 6894.757;
    QTest::newRow("largest double")
        << "1.7976931348623157e308" << Point << std::numeric_limits<double>::max();
    QTest::newRow("smallest subnormal")
        << "4.9406564584124654E-324" << Point << std::numeric_limits<double>::denorm_min();
    QTest::newRow("too small is zero") << "1e-999" << Point << 0.0;
}

void TestNumberText::toFloatAccepts() {
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(double, expected);
    QCOMPARE(toFloat(text, separator), expected);
    double value = -1;
    QVERIFY(tryToFloat(text, separator, &value));
    QCOMPARE(value, expected);
}

void TestNumberText::toFloatRejects_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::newRow("point with comma separator") << "1.5" << Comma;
    QTest::newRow("comma with point separator") << "1,5" << Point;
    QTest::newRow("group and decimal") << "1.000,5" << Comma;
    QTest::newRow("empty") << "" << Comma;
    QTest::newRow("blanks") << "   " << Comma;
    QTest::newRow("sign only") << "-" << Comma;
    QTest::newRow("separator only") << "," << Comma;
    QTest::newRow("two separators") << "1,5,5" << Comma;
    QTest::newRow("blank inside") << "1 5" << Comma;
    QTest::newRow("two signs") << "+-1" << Comma;
    QTest::newRow("trailing text") << "12abc" << Comma;
    QTest::newRow("error word") << "Err_CmdNotExist" << Comma;
    QTest::newRow("exponent without digits") << "1e" << Comma;
    QTest::newRow("exponent sign only") << "1e+" << Comma;
    QTest::newRow("exponent only") << "e5" << Comma;
    QTest::newRow("fractional exponent") << "1e2,5" << Comma;
    QTest::newRow("hex") << "0x10" << Point;
    QTest::newRow("nan") << "nan" << Point;
    QTest::newRow("NaN") << "NaN" << Point;
    QTest::newRow("inf") << "inf" << Point;
    QTest::newRow("-Infinity") << "-Infinity" << Point;
    QTest::newRow("INF as written") << "INF" << Point;
    QTest::newRow("out of range") << "1e999" << Comma;
    QTest::newRow("negative out of range") << "-1e999" << Comma;
    QTest::newRow("just above max") << "1.8e308" << Point;
    QTest::newRow("huge exponent") << "1e99999999999999999999" << Point;
    QTest::newRow("arabic-indic digit") << QString::fromUtf8("\u0661") << Point;
    QTest::newRow("embedded NUL") << QString::fromLatin1("1\0"
                                                         "2",
                                                         3)
                                  << Point;
}

void TestNumberText::toFloatRejects() {
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    double value = 4711;
    QVERIFY(!tryToFloat(text, separator, &value));
    QCOMPARE(value, 4711.0);
    QCOMPARE(convertErrorOf([&] { toFloat(text, separator); }),
             QString("'%1' ist kein gültiger Gleitkommawert").arg(text));
}

void TestNumberText::toFloatLimits() {
    // Underflow keeps the sign; a long run of digits is no problem.
    const double negativeTiny = toFloat("-1e-999", Point);
    QCOMPARE(negativeTiny, 0.0);
    QVERIFY(std::signbit(negativeTiny));
    QCOMPARE(toFloat("0,000e99999", Comma), 0.0);
    QCOMPARE(toFloat("1" + QString(300, '0'), Comma), 1e300);
    QVERIFY_THROWS_EXCEPTION(EConvertError, toFloat("1" + QString(400, '0'), Comma));
    QCOMPARE(toFloat("0," + QString(400, '0') + "1e401", Comma), 1.0);
    QVERIFY_THROWS_EXCEPTION(EConvertError, toFloat(QString(100000, '7'), Comma));
    QCOMPARE(toFloat("0," + QString(100000, '3'), Comma), 1.0 / 3);
}

void TestNumberText::toInt() {
    QCOMPARE(NumberText::toInt("+0042"), 42);
    QCOMPARE(NumberText::toInt(" 5"), 5);
    QCOMPARE(NumberText::toInt("   -35"), -35);
    QCOMPARE(NumberText::toInt("\t7"), 7);
    QCOMPARE(NumberText::toInt("0"), 0);
    QCOMPARE(NumberText::toInt("-0"), 0);
    QCOMPARE(NumberText::toInt("2147483647"), 2147483647);
    QCOMPARE(NumberText::toInt("-2147483648"), -2147483647 - 1);
    QCOMPARE(NumberText::toInt(QString(50, '0') + "12"), 12);

    const QStringList bad = {"",           " ",           "-",
                             "+",          "5 ",          "12,5",
                             "12.5",       "1e3",         "+-1",
                             "--1",        "0x10",        "$10",
                             "2147483648", "-2147483649", "99999999999999999999",
                             "1 2",        "abc",         "Err_CmdNotExist"};
    for (const QString &text : bad) {
        int value = 4711;
        QVERIFY2(!tryToInt(text, &value), qPrintable(text));
        QCOMPARE(value, 4711);
        QCOMPARE(convertErrorOf([&] { NumberText::toInt(text); }),
                 QString("'%1' ist kein gültiger Integerwert").arg(text));
    }
    int value = 0;
    QVERIFY(tryToInt(" +0042", &value));
    QCOMPARE(value, 42);
}

void TestNumberText::fromFloat_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");
    QTest::newRow("-250.0") << -250.0 << Comma << "-250";
    QTest::newRow("2.50 comma") << 2.50 << Comma << "2,5";
    QTest::newRow("2.50 point") << 2.50 << Point << "2.5";
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << Comma << "0,3";
    QTest::newRow("6894.757") << 6894.757 << Comma << "6894,757";
    QTest::newRow("zero") << 0.0 << Comma << "0";
    QTest::newRow("negative zero") << -0.0 << Comma << "0";
    QTest::newRow("one third") << 1.0 / 3 << Comma << "0,333333333333333";
    QTest::newRow("two thirds") << 2.0 / 3 << Point << "0.666666666666667";
    QTest::newRow("carry to ten") << 9.999999999999998 << Comma << "10";
    // An exact tie at the 16th digit rounds away from zero (half-even would give ...344).
    QTest::newRow("tie rounds away") << 1234567890123445.0 << Point << "1.23456789012345E15";
    QTest::newRow("negative tie") << -1234567890123445.0 << Point << "-1.23456789012345E15";
    QTest::newRow("below tie") << 0.1234567890123455 << Point << "0.123456789012345";
    QTest::newRow("1E-6") << 1e-6 << Comma << "1E-6";
    QTest::newRow("-2,5E-7") << -2.5e-7 << Comma << "-2,5E-7";
    QTest::newRow("0.00001 is fixed") << 0.00001 << Comma << "0,00001";
    QTest::newRow("just below 0.00001") << 0.0000099 << Comma << "9,9E-6";
    QTest::newRow("0.0001234") << 0.0001234 << Point << "0.0001234";
    QTest::newRow("15 integer digits") << 123456789012345.0 << Comma << "123456789012345";
    QTest::newRow("15 nines") << 999999999999999.0 << Comma << "999999999999999";
    QTest::newRow("16 integer digits") << 1234567890123456.0 << Comma << "1,23456789012346E15";
    QTest::newRow("1E15") << 1e15 << Comma << "1E15";
    QTest::newRow("1,5E20") << 1.5e20 << Comma << "1,5E20";
    QTest::newRow("-1,5E20") << -1.5e20 << Point << "-1.5E20";
    QTest::newRow("max") << std::numeric_limits<double>::max() << Comma << "1,79769313486232E308";
    QTest::newRow("min normal") << std::numeric_limits<double>::min() << Comma
                                << "2,2250738585072E-308";
    QTest::newRow("subnormal") << std::numeric_limits<double>::denorm_min() << Comma
                               << "4,94065645841247E-324";
    QTest::newRow("inf") << std::numeric_limits<double>::infinity() << Comma << "INF";
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << Comma << "-INF";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << Comma << "NAN";
}

void TestNumberText::fromFloat() {
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);
    QCOMPARE(NumberText::fromFloat(value, separator), expected);
}

void TestNumberText::fromFloatRoundTrips() {
    // The text read back gives the same text: the general format loses nothing beyond 15 digits.
    const double values[] = {-250.0, 12.5,   6894.757, 1.0 / 7, 1e-5,   3.3e-5,  2.5e-300,
                             1e100,  -0.001, 100000.0, 4.2e15,  1e-320, 133.3224};
    for (double v : values) {
        for (QChar sep : {Comma, Point}) {
            const QString text = NumberText::fromFloat(v, sep);
            const double back = toFloat(text, sep);
            QCOMPARE(NumberText::fromFloat(back, sep), text);
            QVERIFY2(std::fabs(back - v) <= std::fabs(v) * 1e-14, qPrintable(text));
        }
    }
}

void TestNumberText::fixed_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("12.345, 1 decimal") << 12.345 << 1 << 4 << "12.3";
    QTest::newRow("1.23456, 3 decimals") << 1.23456 << 3 << 4 << "1.235";
    QTest::newRow("123.456, 3 decimals") << 123.456 << 3 << 4 << "123.500";
    QTest::newRow("-250, 1 decimal") << -250.0 << 1 << 4 << "-250.0";
    QTest::newRow("250, 3 decimals") << 250.0 << 3 << 4 << "250.000";
    QTest::newRow("zero") << 0.0 << 1 << 4 << "0.0";
    QTest::newRow("negative zero") << -0.0 << 3 << 4 << "0.000";
    QTest::newRow("rounds to zero, no sign") << -0.0004 << 3 << 4 << "0.000";
    QTest::newRow("rounds up to last decimal") << 0.0006 << 3 << 4 << "0.001";
    QTest::newRow("small value, precision") << 0.012345 << 3 << 4 << "0.012";
    QTest::newRow("exact tie away from zero") << 0.25 << 1 << 4 << "0.3";
    QTest::newRow("negative exact tie") << -0.25 << 1 << 4 << "-0.3";
    QTest::newRow("tie at precision") << 1.0625 << 4 << 4 << "1.0630";
    QTest::newRow("2.5 no decimals") << 2.5 << 0 << 4 << "3";
    QTest::newRow("0.15 lies below the tie") << 0.15 << 1 << 4 << "0.1";
    QTest::newRow("0.05 lies above the tie") << 0.05 << 1 << 4 << "0.1";
    QTest::newRow("carry") << 9.96 << 1 << 4 << "10.0";
    QTest::newRow("four integer digits") << 1234.56 << 1 << 4 << "1235.0";
    QTest::newRow("carry past precision") << 9999.6 << 1 << 4 << "1E4";
    QTest::newRow("too many integer digits") << 12345.6 << 1 << 4 << "1.235E4";
    QTest::newRow("negative, too many digits") << -250000.0 << 3 << 4 << "-2.5E5";
    QTest::newRow("negative decimals") << 12.5 << -2 << 4 << "13";
    QTest::newRow("8 digits for labels") << 106.640625 << 2 << 8 << "106.64";
    QTest::newRow("8 digits, 3 decimals") << -6.25 << 3 << 8 << "-6.250";
    QTest::newRow("8 digits, large") << 123456789.0 << 1 << 8 << "1.2345679E8";
    QTest::newRow("tiny") << 1e-300 << 2 << 4 << "0.00";
    QTest::newRow("huge") << 1e300 << 1 << 4 << "1E300";
    QTest::newRow("inf") << std::numeric_limits<double>::infinity() << 1 << 4 << "INF";
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << 1 << 4 << "-INF";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 1 << 4 << "NAN";
}

void TestNumberText::fixed() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(int, precision);
    QFETCH(QString, expected);
    QCOMPARE(NumberText::fixed(value, decimals, Point, precision), expected);
    QString withComma = expected;
    withComma.replace('.', ',');
    QCOMPARE(NumberText::fixed(value, decimals, Comma, precision), withComma);
    QCOMPARE(fixedSignificant(value, precision, decimals, Comma), withComma);
    if (precision == 4)
        QCOMPARE(NumberText::fixed(value, decimals, Point), expected);
}

void TestNumberText::localDecimalSeparator() {
    QCOMPARE(NumberText::localDecimalSeparator(QLocale("de_DE")), Comma);
    QCOMPARE(NumberText::localDecimalSeparator(QLocale("fr_FR")), Comma);
    QCOMPARE(NumberText::localDecimalSeparator(QLocale("en_US")), Point);
    QCOMPARE(NumberText::localDecimalSeparator(QLocale::c()), Point);
    // Decimal point with an apostrophe as group separator.
    QCOMPARE(NumberText::localDecimalSeparator(QLocale("de_CH")), Point);
    // Group separators must not make "10,5" a number in a decimal-point locale.
    QLocale lenient("en_US");
    lenient.setNumberOptions(QLocale::DefaultNumberOptions);
    QCOMPARE(NumberText::localDecimalSeparator(lenient), Point);
}

void TestNumberText::passwordText() {
    QCOMPARE(NumberText::passwordText(0, Comma), QString("0000"));
    QCOMPARE(NumberText::passwordText(7, Comma), QString("0007"));
    QCOMPARE(NumberText::passwordText(42, Comma), QString("0042"));
    QCOMPARE(NumberText::passwordText(123, Comma), QString("0123"));
    QCOMPARE(NumberText::passwordText(999, Comma), QString("0999"));
    QCOMPARE(NumberText::passwordText(1000, Comma), QString("1000"));
    QCOMPARE(NumberText::passwordText(1234, Comma), QString("1234"));
    QCOMPARE(NumberText::passwordText(99999, Comma), QString("99999"));
    QCOMPARE(NumberText::passwordText(12.5, Comma), QString("0012,5"));
    QCOMPARE(NumberText::passwordText(-5, Point), QString("000-5"));
    // A device reply goes through the local separator and the float conversion first.
    QCOMPARE(NumberText::passwordText(toFloat(" 0042", Comma), Comma), QString("0042"));
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "test_numbertext.moc"

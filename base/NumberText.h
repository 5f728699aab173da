#pragma once

#include <QChar>
#include <QString>

class QLocale;

// The tool's conversions between numbers and texts, in one place. They behave like the
// conversions of the original Windows tool: the decimal separator is always given by the
// caller (the device's "." is replaced by the local separator first), the general float text
// is the shortest form with at most 15 significant digits, integers have a strict syntax.
// Independent of the C library's locale.
namespace NumberText {

// Blanks around the number, optional sign, digits with `decimalSeparator` as the only decimal
// mark, optional exponent ("e" or "E", optional sign, digits). No "nan", "inf", or group
// separators; values beyond the double range fail, values too small for it give 0.
// Throws EConvertError "'<text>' ist kein gültiger Gleitkommawert".
double toFloat(const QString &text, QChar decimalSeparator);
bool tryToFloat(const QString &text, QChar decimalSeparator, double *value);

// Leading blanks, optional sign, decimal digits, nothing after them; 32-bit range.
// Throws EConvertError "'<text>' ist kein gültiger Integerwert".
int toInt(const QString &text);
bool tryToInt(const QString &text, int *value);

// General format: rounded to 15 significant digits, no trailing zeros, exponent form ("1E-6",
// "1,5E20") only below 0.00001 or with more than 15 digits before the separator.
// Infinities and NaN give "INF", "-INF", "NAN".
QString fromFloat(double value, QChar decimalSeparator);

// Fixed format with exactly `decimals` decimals after rounding to at most `precision`
// significant digits (ties away from zero): fixed(123.456, 3, '.') is "123.500". A value with
// more than `precision` digits before the separator falls back to the general format with
// `precision` digits. A value that rounds to zero has no minus sign.
QString fixed(double value, int decimals, QChar decimalSeparator, int precision = 4);

// Fixed format with `significant` digits, for axis labels.
QString fixedSignificant(double value, int significant, int decimals, QChar decimalSeparator);

// "," when the locale reads "10,5" as a number, else ".".
QChar localDecimalSeparator(const QLocale &locale);

// A device password shown with leading zeros to four digits: 7 gives "0007", 1234 "1234".
QString passwordText(double value, QChar decimalSeparator);

} // namespace NumberText

#include "base/NumberText.h"

#include "base/Errors.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

// |value| = 0.d1 d2 d3 ... * 10^exponent with no leading or trailing zero digit; no digits is 0.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

void stripTrailingZeros(Decimal &d) {
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

// Every finite double has an exact decimal expansion of at most 767 significant digits;
// rounding from it never rounds twice.
Decimal exactDecimal(double value) {
    Decimal d;
    d.negative = std::signbit(value);
    if (value == 0)
        return d;
    char buf[800];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 766);
    const std::string s(buf, r.ptr);
    const std::size_t e = s.find('e');
    d.digits = s.substr(0, 1) + s.substr(2, e - 2);
    const std::size_t expStart = s[e + 1] == '+' ? e + 2 : e + 1;
    int exp10 = 0;
    std::from_chars(s.data() + expStart, s.data() + s.size(), exp10);
    d.exponent = exp10 + 1;
    stripTrailingZeros(d);
    return d;
}

// Keeps `keep` significant digits (none or fewer is allowed), ties away from zero.
void roundTo(Decimal &d, int keep) {
    if (static_cast<int>(d.digits.size()) <= keep)
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9')
            d.digits[i--] = '0';
        if (i < 0) {
            d.digits.insert(0, 1, '1');
            ++d.exponent;
        } else {
            ++d.digits[i];
        }
    }
    stripTrailingZeros(d);
}

QChar digitAt(const Decimal &d, int index) {
    if (index < 0 || index >= static_cast<int>(d.digits.size()))
        return QLatin1Char('0');
    return QLatin1Char(d.digits[index]);
}

QString fixedText(const Decimal &d, int decimals, QChar separator) {
    QString text;
    if (d.negative && !d.digits.empty())
        text += QLatin1Char('-');
    if (d.exponent <= 0)
        text += QLatin1Char('0');
    for (int i = 0; i < d.exponent; ++i)
        text += digitAt(d, i);
    if (decimals > 0)
        text += separator;
    for (int i = 0; i < decimals; ++i)
        text += digitAt(d, d.exponent + i);
    return text;
}

// `d` is already rounded to `precision` digits.
QString generalText(const Decimal &d, QChar separator, int precision) {
    if (d.digits.empty())
        return QStringLiteral("0");
    const int count = static_cast<int>(d.digits.size());
    if (d.exponent > precision || d.exponent < -4) {
        QString text = d.negative ? QStringLiteral("-") : QString();
        text += QLatin1Char(d.digits[0]);
        if (count > 1)
            text += separator + QString::fromLatin1(d.digits.data() + 1, count - 1);
        return text + QLatin1Char('E') + QString::number(d.exponent - 1);
    }
    return fixedText(d, std::max(0, count - d.exponent), separator);
}

QString specialText(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Collects the digits of a number written with `separator` into C syntax and works out the
// decimal exponent of its first non-zero digit, which tells overflow from underflow.
class FloatScanner {
public:
    FloatScanner(const QString &text, QChar separator) : text_(text), separator_(separator) {}

    bool scan() {
        skipBlanks();
        if (at('-'))
            c_ += '-';
        if (at('+') || at('-'))
            ++pos_; // the C syntax has no leading "+"
        const int integerDigits = digits(true);
        int fractionDigits = 0;
        if (pos_ < text_.size() && text_[pos_] == separator_) {
            ++pos_;
            c_ += '.';
            fractionDigits = digits(false);
        }
        if (integerDigits + fractionDigits == 0)
            return false;
        if (at('e') || at('E')) {
            ++pos_;
            c_ += 'e';
            if (!scanExponent())
                return false;
        }
        skipBlanks();
        return pos_ == text_.size();
    }

    const std::string &cText() const { return c_; }
    bool allZero() const { return !nonZero_; }
    // Decimal exponent E of the value written as 0.d... * 10^E; only meaningful if !allZero().
    long magnitude() const { return leadExponent_ + exponent_; }

private:
    bool at(char c) const { return pos_ < text_.size() && text_[pos_] == QLatin1Char(c); }

    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(text_[pos_]))
            ++pos_;
    }

    int digits(bool integerPart) {
        int count = 0;
        for (; pos_ < text_.size() && isDigit(text_[pos_]); ++pos_, ++count) {
            const char c = text_[pos_].toLatin1();
            c_ += c;
            if (integerPart && nonZero_)
                ++leadExponent_;
            if (!nonZero_ && c != '0') {
                nonZero_ = true;
                leadExponent_ = integerPart ? 1 : -count;
            }
        }
        return count;
    }

    bool scanExponent() {
        bool negative = false;
        if (at('+') || at('-')) {
            negative = at('-');
            c_ += text_[pos_++].toLatin1();
        }
        int count = 0;
        for (; pos_ < text_.size() && isDigit(text_[pos_]); ++pos_, ++count) {
            c_ += text_[pos_].toLatin1();
            exponent_ = std::min(exponent_ * 10 + text_[pos_].digitValue(), 100000000L);
        }
        if (negative)
            exponent_ = -exponent_;
        return count > 0;
    }

    const QString &text_;
    QChar separator_;
    qsizetype pos_ = 0;
    std::string c_;
    bool nonZero_ = false;
    long leadExponent_ = 0;
    long exponent_ = 0;
};

} // namespace

namespace NumberText {

bool tryToFloat(const QString &text, QChar decimalSeparator, double *value) {
    FloatScanner scanner(text, decimalSeparator);
    if (!scanner.scan())
        return false;
    const std::string &c = scanner.cText();
    double result = 0;
    const auto r = std::from_chars(c.data(), c.data() + c.size(), result);
    if (r.ec == std::errc::result_out_of_range && !scanner.allZero() && scanner.magnitude() <= 0) {
        result = c[0] == '-' ? -0.0 : 0.0; // too small for a double: zero, as the FPU gives
    } else if (r.ec != std::errc() || r.ptr != c.data() + c.size() || !std::isfinite(result)) {
        return false;
    }
    *value = result;
    return true;
}

double toFloat(const QString &text, QChar decimalSeparator) {
    double value = 0;
    if (!tryToFloat(text, decimalSeparator, &value))
        throw EConvertError(EConvertError::Wanted::Float, text);
    return value;
}

bool tryToInt(const QString &text, int *value) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const bool negative = i < text.size() && text[i] == QLatin1Char('-');
    if (i < text.size() && (negative || text[i] == QLatin1Char('+')))
        ++i;
    if (i == text.size())
        return false;
    const qint64 limit = qint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return false;
        magnitude = magnitude * 10 + text[i].digitValue();
        if (magnitude > limit)
            return false;
    }
    *value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

int toInt(const QString &text) {
    int value = 0;
    if (!tryToInt(text, &value))
        throw EConvertError(EConvertError::Wanted::Integer, text);
    return value;
}

QString fromFloat(double value, QChar decimalSeparator) {
    if (!std::isfinite(value))
        return specialText(value);
    constexpr int Precision = 15;
    Decimal d = exactDecimal(value);
    roundTo(d, Precision);
    return generalText(d, decimalSeparator, Precision);
}

QString fixed(double value, int decimals, QChar decimalSeparator, int precision) {
    if (!std::isfinite(value))
        return specialText(value);
    decimals = std::max(0, decimals);
    precision = std::max(1, precision);
    const Decimal exact = exactDecimal(value);
    Decimal d = exact;
    roundTo(d, std::min(precision, exact.exponent + decimals));
    if (!d.digits.empty() && d.exponent > precision) {
        d = exact;
        roundTo(d, precision);
        return generalText(d, decimalSeparator, precision);
    }
    return fixedText(d, decimals, decimalSeparator);
}

QString fixedSignificant(double value, int significant, int decimals, QChar decimalSeparator) {
    return fixed(value, decimals, decimalSeparator, significant);
}

QChar localDecimalSeparator(const QLocale &locale) {
    // Group separators do not count: "10,5" must read as ten and a half.
    QLocale strict(locale);
    strict.setNumberOptions(strict.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    strict.toDouble(QStringLiteral("10,5"), &ok);
    return ok ? QLatin1Char(',') : QLatin1Char('.');
}

QString passwordText(double value, QChar decimalSeparator) {
    const QString text = fromFloat(value, decimalSeparator);
    if (value < 10)
        return QStringLiteral("000") + text;
    if (value < 100)
        return QStringLiteral("00") + text;
    if (value < 1000)
        return QStringLiteral("0") + text;
    return text;
}

} // namespace NumberText

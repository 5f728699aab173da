#include "sim/WireNumber.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace sim::wire {

namespace {

bool isDigits(const QByteArray &text) {
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

QByteArray withoutSign(const QByteArray &text) {
    if (text.startsWith('+') || text.startsWith('-'))
        return text.mid(1);
    return text;
}

} // namespace

bool parseDecimal(const QByteArray &text, double *value) {
    const QByteArray body = withoutSign(text);
    const int dot = body.indexOf('.');
    const QByteArray whole = dot < 0 ? body : body.left(dot);
    if (!isDigits(whole))
        return false;
    if (dot >= 0 && !isDigits(body.mid(dot + 1)))
        return false;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool parseInteger(const QByteArray &text, std::int64_t *value) {
    if (!isDigits(withoutSign(text)))
        return false;
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok)
        return false;
    *value = v;
    return true;
}

QByteArray formatDecimal(double value) {
    if (value == 0.0)
        return "0"; // also turns -0 into 0
    return QByteArray::number(value, 'f', QLocale::FloatingPointShortest);
}

QByteArray formatFixed(double value, int decimals) {
    QByteArray text = QByteArray::number(value, 'f', decimals);
    if (text.startsWith('-') && text.count('0') == text.size() - (decimals > 0 ? 2 : 1))
        text.remove(0, 1);
    return text;
}

} // namespace sim::wire

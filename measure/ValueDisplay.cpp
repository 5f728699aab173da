#include "measure/ValueDisplay.h"

#include "base/NumberText.h"

namespace {
constexpr int kSignificantDigits = 4;
constexpr int kHectoDecimals = 3;
constexpr int kPlainDecimals = 1;
} // namespace

PolledValue ValueDisplay::interpret(const QString &reply, const QString &channelName,
                                    double fallback, const Format &format) {
    QString rest = reply;
    rest.remove(channelName);
    rest.replace(QLatin1Char('.'), format.localSeparator);
    PolledValue result;
    if (rest == QLatin1String("Err_Underflow")) {
        result.state = PointState::Underflow;
        result.text = QStringLiteral("UNDERFLOW");
    } else if (rest == QLatin1String("Err_Overflow")) {
        result.state = PointState::Overflow;
        result.text = QStringLiteral("OVERFLOW");
    } else {
        if (!NumberText::tryToFloat(rest, format.localSeparator, &result.value))
            result.value = fallback;
        result.state = PointState::Value;
        result.text = valueText(result.value, format);
    }
    return result;
}

QString ValueDisplay::valueText(double value, const Format &format) {
    QString text = NumberText::fixed(value, format.hecto ? kHectoDecimals : kPlainDecimals,
                                     format.localSeparator, kSignificantDigits);
    if (format.language > 0)
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text + QLatin1Char(' ') + format.unit;
}

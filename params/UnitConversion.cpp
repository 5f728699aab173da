#include "params/UnitConversion.h"

#include "base/Errors.h"
#include "base/NumberText.h"

#include <cmath>

const std::vector<UnitConversion::Unit> &UnitConversion::units() {
    // Conventional factors: one psi is 6894.757 Pa, one mmH2O 9.80665 Pa (at 4 °C, standard
    // gravity), one inH2O 249.0889 Pa, one mmHg 133.3224 Pa, one inHg 3386.389 Pa.
    static const std::vector<Unit> table = {
        {"hPa", 100.0},     {"kPa", 1000.0},    {"mbar", 100.0},    {"bar", 100000.0},
        {"psi", 6894.757},  {"Psi", 6894.757},  {"mmH2O", 9.80665}, {"inH2O", 249.0889},
        {"mmHg", 133.3224}, {"inHg", 3386.389},
    };
    return table;
}

std::optional<double> UnitConversion::factor(const QString &unit) {
    for (const Unit &known : units()) {
        if (unit == QLatin1String(known.name))
            return known.pascalPerUnit;
    }
    return std::nullopt;
}

QString UnitConversion::toPascalText(const QString &value, const QString &unit,
                                     QChar decimalSeparator) {
    const std::optional<double> perUnit = factor(unit);
    if (!perUnit)
        return QString();
    const double pascal = NumberText::toFloat(value, decimalSeparator) * *perUnit;
    // "INF" in a setting field would only come back as a refusal from the device.
    if (!std::isfinite(pascal))
        throw EConvertError(EConvertError::Wanted::Float, value);
    return NumberText::fromFloat(pascal, decimalSeparator);
}

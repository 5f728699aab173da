#pragma once

#include <QChar>
#include <QString>
#include <optional>
#include <vector>

// Pressures given in another unit, converted to the Pa every pressure setting of the device
// takes. Unit names match exactly (case matters), except that both "psi" and the list's "Psi"
// are known.
class UnitConversion {
public:
    struct Unit {
        const char *name;
        double pascalPerUnit;
    };

    // Every known unit, in the order they are matched.
    static const std::vector<Unit> &units();
    // Pa per unit, or nothing for a text that names no unit ("Unit", "Pa", a misspelling).
    static std::optional<double> factor(const QString &unit);

    // The value in Pa as the general float text, or an empty text when `unit` names no unit.
    // Throws EConvertError "'<value>' ist kein gültiger Gleitkommawert" when the value is not a
    // number, or when its product leaves the range of a double.
    static QString toPascalText(const QString &value, const QString &unit, QChar decimalSeparator);
};

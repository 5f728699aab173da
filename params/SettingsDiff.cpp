#include "params/SettingsDiff.h"

#include <QtMath>

namespace {

bool asNumber(QString text, double &number) {
    text = text.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    number = text.toDouble(&ok);
    return ok;
}

bool sameText(const QString &left, const QString &right) {
    if (left.trimmed() == right.trimmed())
        return true;
    double a = 0, b = 0;
    if (!asNumber(left, a) || !asNumber(right, b))
        return false;
    return qAbs(a - b) <= 1e-9 * qMax(1.0, qMax(qAbs(a), qAbs(b)));
}

} // namespace

QString SettingsDiff::valueText(const ConfigValues &values, const ParamDef &row) {
    const QString name = QString::fromLatin1(row.name);
    return ConfigFile::isText(row) ? values.texts.value(name)
                                   : QString::number(values.choices.value(name, -1));
}

std::vector<SettingsDiff::Difference> SettingsDiff::between(const ConfigValues &left,
                                                            const ConfigValues &right) {
    std::vector<Difference> differences;
    for (const ParamDef *row : ConfigFile::rows()) {
        const QString a = valueText(left, *row);
        const QString b = valueText(right, *row);
        const bool same = ConfigFile::isText(*row) ? sameText(a, b) : a == b;
        if (!same)
            differences.push_back({row, a, b});
    }
    return differences;
}

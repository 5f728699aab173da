#include "params/ParamCodec.h"

#include "base/NumberText.h"

namespace {

constexpr int kDeviceOff = 3; // the device's code for a display switched off
constexpr int kOffIndex = 1;  // "off" in the temperature and humidity lists

bool isOneOf(int value, int a, int b) {
    return value == a || value == b;
}

// The modes in which the input's short list is shown, as the device value rules name them:
// IN-1 measures temperature in modes 0 and 1, IN-2 humidity in modes 0 and 2.
bool shortListMode(int input, int extPressMode) {
    return input == 1 ? isOneOf(extPressMode, 0, 1) : isOneOf(extPressMode, 0, 2);
}

} // namespace

QString ParamCodec::queryCommand(const QString &name) {
    return QLatin1Char('?') + name;
}

QString ParamCodec::setCommand(const QString &name, const QString &value) {
    return QLatin1Char('>') + name + QLatin1Char(' ') + value;
}

QString ParamCodec::replyValue(const QString &reply, const QString &name, QChar decimalSeparator) {
    QString value = reply;
    if (!name.isEmpty())
        value.remove(name, Qt::CaseSensitive);
    value.replace(QLatin1Char('.'), decimalSeparator);
    return value;
}

QString ParamCodec::decimalText(const QString &value, QChar decimalSeparator) {
    return NumberText::fromFloat(NumberText::toFloat(value, decimalSeparator), decimalSeparator);
}

QString ParamCodec::passwordText(const QString &value, QChar decimalSeparator) {
    return NumberText::passwordText(NumberText::toFloat(value, decimalSeparator), decimalSeparator);
}

int ParamCodec::choiceValue(const QString &value) {
    return NumberText::toInt(value);
}

QString ParamCodec::editTextOnWire(const QString &editText) {
    QString text = editText;
    return text.replace(QLatin1Char(','), QLatin1Char('.'));
}

bool ParamCodec::in1MeasuresPressure(int extPressMode) {
    return isOneOf(extPressMode, 2, 3);
}

bool ParamCodec::in2MeasuresPressure(int extPressMode) {
    return isOneOf(extPressMode, 1, 3);
}

int ParamCodec::unitValue(int input, int extPressMode, int index) {
    if (shortListMode(input, extPressMode) && index == kOffIndex)
        return kDeviceOff;
    return index;
}

int ParamCodec::unitIndex(int input, int extPressMode, int value) {
    if (shortListMode(input, extPressMode) && value == kDeviceOff)
        return kOffIndex;
    return value;
}

ParamCodec::UnitListRebuild ParamCodec::extPressRebuild(int previousMode, int newMode) {
    // Only a change of what an input measures rebuilds its list. A previous mode outside 0..3
    // (a device that reported nonsense) matches none of the rules.
    UnitListRebuild rebuild;
    rebuild.in1 = (isOneOf(previousMode, 2, 3) && isOneOf(newMode, 0, 1)) ||
                  (isOneOf(previousMode, 0, 1) && isOneOf(newMode, 2, 3));
    rebuild.in2 = (isOneOf(previousMode, 0, 2) && isOneOf(newMode, 1, 3)) ||
                  (isOneOf(previousMode, 1, 3) && isOneOf(newMode, 0, 2));
    return rebuild;
}

bool ParamCodec::isRefusal(const QString &reply) {
    return reply.startsWith(QLatin1String("Err"));
}

int ParamCodec::refusalMarker(const ParamDef &row) {
    if (row.checkNumber > 0)
        return row.checkNumber;
    const auto &rows = ParamTable::rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (qstrcmp(rows[i].name, row.name) == 0)
            return kChoiceMarkerBase + 1 + static_cast<int>(i);
    }
    return kChoiceMarkerBase;
}

const ParamDef *ParamCodec::rowForMarker(int marker) {
    const auto &rows = ParamTable::rows();
    if (marker > kChoiceMarkerBase && marker <= kChoiceMarkerBase + static_cast<int>(rows.size()))
        return &rows[marker - kChoiceMarkerBase - 1];
    for (const ParamDef &row : rows) {
        if (marker > 0 && row.checkNumber == marker)
            return &row;
    }
    return nullptr;
}

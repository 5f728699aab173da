#include "measure/StartQueries.h"

#include "base/NumberText.h"
#include "link/DeviceSession.h"
#include "measure/ChartRanges.h"
#include "measure/PolledChannels.h"
#include "params/SettingsModel.h"

namespace {

constexpr int kUnitOffCode = 3;        // the device's code for a display switched off
constexpr int kTemperatureOffItem = 1; // item of "aus" in the temperature and humidity lists

const ParamDef &setting(const char *name) {
    return *ParamTable::find(QString::fromLatin1(name));
}

// The device codes "off" as 3 whatever the input measures; the lists of a temperature or
// humidity input have only "unit, off". IN-1 measures temperature in modes 0 and 1, IN-2
// humidity in modes 0 and 2.
int unitItem(int input, int extPress, int code) {
    const bool plainInput = extPress == 0 || extPress == (input == kChannelIN1 ? 1 : 2);
    return plainInput && code == kUnitOffCode ? kTemperatureOffItem : code;
}

} // namespace

StartQueries::StartQueries(DeviceSession &session, SettingsModel &settings,
                           std::function<void(const ParamDef &)> arrived)
    : session_(session), settings_(settings), arrived_(std::move(arrived)) {}

std::array<ValueRange, 3> StartQueries::run() {
    readUnits();
    const ParamDef &measRange = setting("MeasRange");
    settings_.setChoice(measRange, queryIndex(QStringLiteral("MeasRange")));
    if (arrived_)
        arrived_(measRange);

    std::array<ValueRange, 3> ranges;
    ranges[kChannelIN1] = readInput(kChannelIN1);
    ranges[kChannelIN2] = readInput(kChannelIN2);
    ranges[kChannelPressure] =
        ChartRanges::pressureRange(settings_.choice(measRange), settings_.choice(setting("UnitP")));
    return ranges;
}

void StartQueries::readUnits() {
    const ParamDef &extPress = setting("ExtPress");
    settings_.setChoice(extPress, queryIndex(QStringLiteral("ExtPress")));
    const int mode = settings_.choice(extPress);
    settings_.rebuildUnitLists(mode);

    settings_.setChoice(setting("UnitP"), queryIndexWithoutBlanks(QStringLiteral("UnitP")));
    const int in1 = queryIndexWithoutBlanks(QStringLiteral("UnitIN1"));
    settings_.setChoice(setting("UnitIN1"), unitItem(kChannelIN1, mode, in1));
    const int in2 = queryIndexWithoutBlanks(QStringLiteral("UnitIN2"));
    settings_.setChoice(setting("UnitIN2"), unitItem(kChannelIN2, mode, in2));
}

ValueRange StartQueries::readInput(int input) {
    const int mode = settings_.choice(setting("ExtPress"));
    const bool pressure = PolledChannels::measuresPressure(input, mode);
    const QString prefix =
        QStringLiteral("ScalIN%1%2")
            .arg(input)
            .arg(pressure ? QLatin1Char('P')
                          : (input == kChannelIN1 ? QLatin1Char('T') : QLatin1Char('H')));
    const double down = queryScaling(prefix + QStringLiteral("down"));
    const double up = queryScaling(prefix + QStringLiteral("up"));
    const QString signalName = QStringLiteral("SignalIN%1").arg(input);
    const ParamDef &signal = *ParamTable::find(signalName);
    settings_.setChoice(signal, queryIndex(signalName));
    const ParamDef &unit = *ParamTable::find(QStringLiteral("UnitIN%1").arg(input));
    return ChartRanges::inputRange(down, up, pressure, settings_.choice(unit),
                                   settings_.choice(signal));
}

QString StartQueries::valueOf(const QString &name) {
    QString rest = session_.send(QLatin1Char('?') + name);
    rest.remove(name);
    return rest;
}

int StartQueries::queryIndex(const QString &name) {
    QString rest = valueOf(name);
    rest.replace(QLatin1Char('.'), session_.decimalSeparator());
    return NumberText::toInt(rest);
}

int StartQueries::queryIndexWithoutBlanks(const QString &name) {
    QString rest = valueOf(name);
    rest.remove(QLatin1Char(' '));
    return NumberText::toInt(rest);
}

double StartQueries::queryScaling(const QString &name) {
    QString rest = valueOf(name);
    const QChar separator = session_.decimalSeparator();
    rest.replace(QLatin1Char('.'), separator);
    const double value = NumberText::toFloat(rest, separator);
    settings_.setText(*ParamTable::find(name), NumberText::fromFloat(value, separator));
    return value;
}

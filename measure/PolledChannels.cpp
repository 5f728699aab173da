#include "measure/PolledChannels.h"

namespace {
constexpr int kInputTemperatureOrHumidityOff = 1;
constexpr int kInputPressureOff = 3;
constexpr int kLastPressureUnit = 2; // Pa, hPa, mbar
} // namespace

QString PolledChannels::command(int channel) {
    return QLatin1Char('?') + name(channel);
}

QString PolledChannels::name(int channel) {
    switch (channel) {
    case kChannelIN1:
        return QStringLiteral("IN1");
    case kChannelIN2:
        return QStringLiteral("IN2");
    default:
        return QStringLiteral("IP");
    }
}

bool PolledChannels::measuresPressure(int input, int extPress) {
    if (input == kChannelIN1)
        return extPress == 2 || extPress == 3;
    if (input == kChannelIN2)
        return extPress == 1 || extPress == 3;
    return false;
}

int PolledChannels::unitIndex(int channel, const UnitSelection &units) {
    switch (channel) {
    case kChannelIN1:
        return units.unitIN1;
    case kChannelIN2:
        return units.unitIN2;
    default:
        return units.unitP;
    }
}

bool PolledChannels::polled(int channel, const UnitSelection &units) {
    const int unit = unitIndex(channel, units);
    if (channel == kChannelPressure)
        return unit != kUnitPOff;
    if (measuresPressure(channel, units.extPress))
        return unit >= 0 && unit <= kLastPressureUnit;
    return unit == 0;
}

bool PolledChannels::switchedOff(int channel, const UnitSelection &units) {
    const int unit = unitIndex(channel, units);
    if (channel == kChannelPressure)
        return unit == kUnitPOff;
    if (measuresPressure(channel, units.extPress))
        return unit == kInputPressureOff;
    return unit == kInputTemperatureOrHumidityOff;
}

bool PolledChannels::hectoUnit(int channel, const UnitSelection &units) {
    const bool pressure = channel == kChannelPressure || measuresPressure(channel, units.extPress);
    return pressure && unitIndex(channel, units) > 0;
}

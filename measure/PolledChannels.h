#pragma once

#include <QString>

// The unit settings that decide what a measurement polls and how it shows it: the indexes of
// ExtPress, UnitP, UnitIN1 and UnitIN2 (-1 when a list has no selection).
struct UnitSelection {
    int extPress = 0;
    int unitP = 0;
    int unitIN1 = 0;
    int unitIN2 = 0;
};

// Channel numbers of the measurement: internal pressure, IN-1, IN-2, in polling order.
enum MeasureChannel : int { kChannelPressure = 0, kChannelIN1 = 1, kChannelIN2 = 2 };

// Which channels a measurement polls and shows, by the unit settings. The device codes a
// display switched off by the last item of a unit list.
class PolledChannels {
public:
    static constexpr int kChannelCount = 3;
    static constexpr int kUnitPOff = 3;

    // "?IP", "?IN1", "?IN2".
    static QString command(int channel);
    // The name the device puts before the value: "IP", "IN1", "IN2".
    static QString name(int channel);

    // True when the input (1 or 2) measures an external pressure for the ExtPress index.
    static bool measuresPressure(int input, int extPress);
    // The pressure unless UnitP is off; an input when its unit list selects one of its units.
    static bool polled(int channel, const UnitSelection &units);
    // The channel's unit list selects its off item (the captions of its chart then hide).
    static bool switchedOff(int channel, const UnitSelection &units);
    // The channel shows a pressure in hPa or mbar: its values get three decimals, not one.
    static bool hectoUnit(int channel, const UnitSelection &units);

private:
    static int unitIndex(int channel, const UnitSelection &units);
};

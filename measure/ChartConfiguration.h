#pragma once

class TformMain;
struct UnitSelection;

// DiagrammKonfiguration: the captions and visibility of the three charts and value labels by
// the unit settings. The max and min labels are only ever hidden here, never shown again.
class ChartConfiguration {
public:
    static void apply(TformMain &window);
    // The selections of ExtPress, UnitP, UnitIN1 and UnitIN2 as they stand in the window.
    static UnitSelection currentUnits(const TformMain &window);

private:
    static void applyChannel(TformMain &window, int channel, const UnitSelection &units);
    static void applyInputCaptions(TformMain &window, int input, int extPress);
};

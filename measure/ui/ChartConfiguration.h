#pragma once

class QWidget;
class SettingsModel;
struct SharedState;
struct UnitSelection;

// DiagrammKonfiguration: the captions and visibility of the three charts and value labels by
// the unit settings. The max and min labels are only ever hidden here, never shown again.
class ChartConfiguration {
public:
    // The labels are found by name in `window`.
    static void apply(QWidget &window, const SettingsModel &settings, const SharedState &state);

private:
    static void applyChannel(QWidget &window, const SettingsModel &settings,
                             const SharedState &state, int channel, const UnitSelection &units);
    static void applyInputCaptions(QWidget &window, const SharedState &state, int input,
                                   int extPress);
};

#pragma once

// measure/: the measurement: what is polled and how often, the histories and chart maths, chart
// images (ChartPainter, the one part on QtGui), the event log, the value display texts, zeroing
// and reset. measure/ui/ holds the measurement page, the chart panel and the chart
// configuration dialog.

#include "measure/ChannelHistory.h"
#include "measure/ChartMath.h"
#include "measure/PolledChannels.h"

#include <QString>
#include <array>
#include <functional>

class DeviceSession;
class SettingsModel;
struct ParamDef;

// The device side of the measurement mode: the start queries, then at each poll the values of
// the channels the unit settings select, turned into display texts and history points. Knows
// the device session and the settings, no widget; the window and zelctl show what it gives.
class MeasurementPoller {
public:
    using Texts = std::array<QString, PolledChannels::kChannelCount>;

    MeasurementPoller(DeviceSession &session, SettingsModel &settings);

    // The start queries bring the settings in line with the device and give the configured
    // chart ranges; the histories start anew. `arrived` runs once the range is in.
    void start(const std::function<void(const ParamDef &)> &arrived = {});
    // Polls every selected channel into the current history point; `polled` runs after each
    // channel with its display text. Returns the texts (empty for a channel not polled).
    Texts poll(const std::function<void(int channel, const QString &text)> &polled = {});
    // The point after the current one takes the next poll (the chart moves on).
    void advance();

    UnitSelection units() const { return unitsOf(settings_); }
    // The selections of ExtPress, UnitP, UnitIN1 and UnitIN2 as the settings hold them.
    static UnitSelection unitsOf(const SettingsModel &settings);
    // The unit of a channel as its list shows it.
    QString unitText(int channel) const;

    int historyIndex() const { return historyIndex_; }
    void setHistoryIndex(int index) { historyIndex_ = ChannelHistory::clampIndex(index); }
    const ChannelHistory &history(int channel) const { return histories_.at(channel); }
    ChannelHistory &history(int channel) { return histories_.at(channel); }
    ValueRange configuredRange(int channel) const { return configured_.at(channel); }
    ValueRange currentRange(int channel) const { return current_.at(channel); }
    void setCurrentRange(int channel, const ValueRange &range) { current_.at(channel) = range; }

private:
    QString pollChannel(int channel, const UnitSelection &units);

    DeviceSession &session_;
    SettingsModel &settings_;
    std::array<ChannelHistory, PolledChannels::kChannelCount> histories_;
    std::array<ValueRange, PolledChannels::kChannelCount> configured_{};
    std::array<ValueRange, PolledChannels::kChannelCount> current_{};
    int historyIndex_ = 0;
};

#pragma once

#include "measure/ChannelHistory.h"
#include "measure/ChartMath.h"
#include "measure/ChartPanel.h"
#include "measure/PolledChannels.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>

class QListWidget;
class TformMain;

// The measurement mode of the "Messwerte" page: start, stop, the polling tick, the measuring
// interval, the chart updates and the log lines. Owned by the main window.
class MeasurementController {
public:
    // Marks a device exchange of the measurement page as under way: a stop meanwhile leaves
    // the port open and lets the exchange end with the user abort.
    class ExchangeScope {
    public:
        explicit ExchangeScope(MeasurementController &controller);
        ~ExchangeScope();
        ExchangeScope(const ExchangeScope &) = delete;
        ExchangeScope &operator=(const ExchangeScope &) = delete;

    private:
        MeasurementController &controller_;
        bool outer_;
    };

    explicit MeasurementController(TformMain &window);

    // ButtonConnection: starts the mode when the button reads "Messung starten" in the current
    // language, otherwise stops it.
    void startOrStop();
    void start();
    void stop();
    // One poll (TimerMessung); every Messintervall-th poll also logs, draws and advances.
    void tick();
    // Messintervall changed: axis captions, progress maximum, and a log line at the next tick.
    void intervalChanged();
    // Part of the global failure handling: the mode ends without talking to the device.
    void stopAfterFailure();

    void drawEmptyCharts();
    // One update of all three charts from the histories.
    void updateCharts();
    const QImage &chartImage(int chart) const { return charts_.image(chart); }

    int historyIndex() const { return historyIndex_; }
    // For a history preloaded by hand (benchmarks); kept within 0..30.
    void setHistoryIndex(int index) { historyIndex_ = ChannelHistory::clampIndex(index); }
    int tickCounter() const { return tickCounter_; }
    const ChannelHistory &history(int channel) const { return histories_.at(channel); }
    ChannelHistory &history(int channel) { return histories_.at(channel); }
    ValueRange configuredRange(int channel) const { return configured_.at(channel); }
    ValueRange currentRange(int channel) const { return current_.at(channel); }
    bool exchangeUnderWay() const { return exchangeUnderWay_; }

private:
    int interval() const;
    // Polls one channel into point p; returns its display text.
    QString poll(int channel, const UnitSelection &units);
    QString unitText(int channel) const;
    void appendLogLine(const std::array<QString, PolledChannels::kChannelCount> &texts);

    TformMain &window_;
    ChartPanel charts_;
    QListWidget *log_ = nullptr;
    std::array<ChannelHistory, PolledChannels::kChannelCount> histories_;
    std::array<ValueRange, PolledChannels::kChannelCount> configured_{};
    std::array<ValueRange, PolledChannels::kChannelCount> current_{};
    int historyIndex_ = 0;
    int tickCounter_ = 1;
    bool exchangeUnderWay_ = false;
};

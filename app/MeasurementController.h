#pragma once

#include "measure/ChannelHistory.h"
#include "measure/ChartMath.h"
#include "measure/MeasurementPoller.h"
#include "measure/PolledChannels.h"
#include "measure/ui/ChartPanel.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class TformMain;

// The measurement mode of the "Messwerte" page: start, stop, the polling tick, the measuring
// interval, the chart updates and the log lines. The device side is the poller's; this class
// shows what it gives. Owned by the main window.
class MeasurementController {
public:
    explicit MeasurementController(TformMain &window);

    // ButtonConnection: starts the mode when it does not run, otherwise stops it.
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

    int historyIndex() const { return poller_.historyIndex(); }
    // For a history preloaded by hand (benchmarks); kept within 0..30.
    void setHistoryIndex(int index) { poller_.setHistoryIndex(index); }
    int tickCounter() const { return tickCounter_; }
    const ChannelHistory &history(int channel) const { return poller_.history(channel); }
    ChannelHistory &history(int channel) { return poller_.history(channel); }
    ValueRange configuredRange(int channel) const { return poller_.configuredRange(channel); }
    ValueRange currentRange(int channel) const { return poller_.currentRange(channel); }

private:
    int interval() const;
    void appendLogLine(const std::array<QString, PolledChannels::kChannelCount> &texts);

    TformMain &window_;
    ChartPanel charts_;
    // The controls a poll touches, looked up once.
    QListWidget *log_ = nullptr;
    QSpinBox *interval_ = nullptr;
    QPushButton *connection_ = nullptr;
    std::array<QLabel *, PolledChannels::kChannelCount> valueLabels_{};
    MeasurementPoller poller_;
    int tickCounter_ = 1;
};

#pragma once

// measure/ui/: the widgets of the measurement: its page, the chart panel and the chart
// configuration dialog.

#include "measure/ChartMath.h"
#include "measure/ChartPainter.h"

#include <QImage>
#include <array>

class ChannelHistory;
class QLabel;
class QWidget;
struct SharedState;

// The three chart images of the "Messwerte" page with their grid labels and max/min labels.
// The images are kept here and shown in the labels "Schaubild_P", "_T", "_F".
class ChartPanel {
public:
    static constexpr int kChartCount = 3;

    // The labels are found by name in `window`.
    ChartPanel(QWidget &window, const SharedState &state);

    // The empty chart in all three images; the labels stay as they are.
    void drawEmptyCharts();
    // A chart whose channel is not shown: the empty chart, its grid labels hidden.
    void showUnused(int chart);
    // A chart update from the channel's history; returns the new current value range.
    ValueRange showHistory(int chart, ChannelHistory &history, int historyIndex,
                           const ValueRange &configured);

    const QImage &image(int chart) const { return images_.at(chart); }

private:
    void present(int chart);

    const SharedState &state_;
    std::array<QImage, kChartCount> images_;
    std::array<QLabel *, kChartCount> imageLabels_{};
    std::array<QLabel *, kChartCount> maxLabels_{};
    std::array<QLabel *, kChartCount> minLabels_{};
    std::array<std::array<QLabel *, ChartMath::kMaxGridLines>, kChartCount> gridLabels_{};
};

#pragma once

class QWidget;

// Builds the "Messwerte" page: start button, measuring interval, event log, the three chart
// images with their grid and axis labels, the value labels, zeroing, reset and re-calibration.
// The chart images and their grid labels sit at fixed pixel positions: the chart geometry is
// exact.
class MeasurePageBuilder {
public:
    static void build(QWidget *page);

    static constexpr int kChartWidth = 130;
    static constexpr int kChartHeight = 200;
    static constexpr int kChartTop = 164;
    // Left edge of the chart images, by chart (pressure, IN-1, IN-2).
    static constexpr int kChartLeft[3] = {70, 270, 470};
    // Chart name suffixes: "_P", "_T", "_F".
    static const char *suffix(int chart);
};

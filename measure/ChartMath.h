#pragma once

#include "measure/ChannelHistory.h"

#include <QChar>
#include <QString>

// Lower and upper value of a chart's vertical scale.
struct ValueRange {
    double lower = 0.0;
    double upper = 0.0;
};

// The grid chosen for a value range: grid values bottom, bottom + step, ..., of which the first
// lineCount are drawn and labelled.
struct ChartGrid {
    int stepIndex = 0; // into the grid step table
    double step = 0.0;
    double bottom = 0.0;
    double top = 0.0;
    int lineCount = 0; // 1..kMaxGridLines
    int decimals = 0;  // of the grid labels

    double value(int line) const { return line * step + bottom; }
};

// Range, grid and pixel arithmetic of the live charts. Total for every input: no division by
// zero, no endless grid, no NaN or infinite positions.
class ChartMath {
public:
    static constexpr int kStepCount = 28;
    static constexpr int kMaxGridLines = 8; // there are eight grid labels per chart
    static constexpr double kMagnitudeLimit = 1e300;
    static constexpr int kCoordinateLimit = 1000;

    // 1, 2, 5 times 10^-4 ... 10^4, then 100000.
    static double gridStep(int stepIndex);
    // 4 for the steps 0.0001..0.0005, 3, 2, 1, then 0 from the step 1 upwards.
    static int decimalsForStep(int stepIndex);

    // The chart's value range from the history points 0..historyIndex. Underflow and overflow
    // points are written the lower and upper value; no received value gives the configured
    // range. Values that are not finite take no part in the range.
    static ValueRange updateValueRange(ChannelHistory &history, int historyIndex,
                                       const ValueRange &configured);

    // The first step of the table whose grid spans at most seven intervals; wider ranges stay
    // at the last step and draw only its first eight grid values. Bounds that are NaN, beyond
    // +-1e300, reversed or equal are put right first.
    static ChartGrid chooseGrid(const ValueRange &range);

    // Pixel row of a value in an image of the given height; rounds halves to even and stays
    // within +-kCoordinateLimit (NaN goes to the bottom grid line).
    static int yOf(double value, const ChartGrid &grid, int height);
    // Pixel column of history point i.
    static int xOf(int pointIndex) { return 10 + 3 * pointIndex; }
    // Underflow points sit on the bottom grid line, overflow points on the top one.
    static double plottedValue(const HistoryPoint &point, const ChartGrid &grid);

    // A grid label: fixed notation with 8 significant digits and `decimals` decimals, the
    // local decimal separator, and "." in English and French (language index above 0).
    static QString gridLabelText(double value, int decimals, QChar localSeparator, int language);
    // Fixed notation with at most `precision` significant digits and exactly `decimals`
    // decimals, "." as separator; numbers with more than `precision` integer digits fall back
    // to the general scientific form ("1.2345679E8").
    static QString fixedText(double value, int precision, int decimals);
};

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"

#include "measure/ChannelHistory.h"
#include "measure/ChartMath.h"
#include "measure/ChartPainter.h"
#include "measure/ChartRanges.h"

#include <QImage>

#include <cmath>

// The chart range, grid and pixel maths and the painter, on histories and configured ranges
// made from the input: raw doubles (NaN, infinities, huge and tiny values) and plain ones.
namespace zelfuzz {

namespace {

double takeValue(FuzzInput &in) {
    switch (in.pick(4)) {
    case 0:
        return in.rawDouble();
    case 1: { // a device value with two decimals
        const int high = in.byte();
        return static_cast<std::int16_t>(high << 8 | in.byte()) / 100.0;
    }
    case 2: { // a large or small round value
        const int mantissa = static_cast<std::int8_t>(in.byte());
        return mantissa * std::pow(10.0, in.pick(40) - 10);
    }
    default:
        return in.int32();
    }
}

QImage takeImage(FuzzInput &in) {
    switch (in.pick(4)) {
    case 0:
        return QImage();
    case 1: {
        const int width = 1 + in.pick(200);
        return QImage(width, 1 + in.pick(300), QImage::Format_ARGB32);
    }
    case 2:
        return QImage(ChartPainter::kWidth, ChartPainter::kHeight, QImage::Format_Indexed8);
    default:
        return ChartPainter::createImage();
    }
}

void checkGrid(const ChartGrid &grid, const ValueRange &range) {
    check(grid.lineCount >= 1 && grid.lineCount <= ChartMath::kMaxGridLines, "grid line count");
    check(grid.step == ChartMath::gridStep(grid.stepIndex), "grid step from the table");
    check(grid.decimals == ChartMath::decimalsForStep(grid.stepIndex), "grid decimals");
    check(std::isfinite(grid.bottom) && std::isfinite(grid.top) && grid.top > grid.bottom,
          "grid bounds are finite and in order");
    const double lower = std::min(range.lower, range.upper);
    const double upper = std::max(range.lower, range.upper);
    // Where the grid maths is exact, a range up to six of the widest steps is covered.
    if (std::isfinite(lower) && std::isfinite(upper) && std::fabs(lower) <= 1e9 &&
        std::fabs(upper) <= 1e9 &&
        upper - lower <= 6 * ChartMath::gridStep(ChartMath::kStepCount - 1)) {
        const double slack = 1e-9 * std::max(std::fabs(upper) + std::fabs(lower), grid.step);
        check(grid.bottom <= lower + slack && grid.value(grid.lineCount - 1) >= upper - slack,
              QStringLiteral("grid covers the range %1..%2").arg(lower).arg(upper));
    }
}

void checkPixels(double value, const ChartGrid &grid, int height) {
    const int y = ChartMath::yOf(value, grid, height);
    check(y >= -ChartMath::kCoordinateLimit && y <= ChartMath::kCoordinateLimit,
          "pixel row within the coordinate limit");
}

} // namespace

void chart(const QByteArray &data) {
    FuzzInput in(data);
    const ValueRange configured{takeValue(in), takeValue(in)};
    const int historyIndex = in.pick(40) - 4;
    const QChar separator = in.flag() ? QLatin1Char(',') : QLatin1Char('.');
    const int language = in.pick(3);
    QImage image = takeImage(in);
    const QSize sizeBefore =
        image.isNull() ? QSize(ChartPainter::kWidth, ChartPainter::kHeight) : image.size();

    ChannelHistory history;
    for (int i = 0; i < ChannelHistory::kPointCount && !in.atEnd(); ++i) {
        history.setState(i, static_cast<PointState>(in.pick(4)));
        history.setValue(i, takeValue(in));
    }

    const ChartUpdate update =
        ChartPainter::drawChart(image, history, historyIndex, configured, separator, language);
    check(image.size() == sizeBefore && image.format() == QImage::Format_RGB32,
          "the chart image keeps its size and becomes 32-bit RGB");
    checkGrid(update.grid, update.range);
    check(update.visibleLabels >= 0 && update.visibleLabels <= ChartMath::kMaxGridLines,
          "visible label count");
    for (int i = 0; i < update.visibleLabels; ++i) {
        const GridLabel &label = update.labels[i];
        check(!label.text.isEmpty(), "a shown grid label has a text");
        check(std::abs(label.top - ChartPainter::kLabelTopOffset) <= ChartMath::kCoordinateLimit,
              "a grid label stays near the chart");
    }

    const ValueRange other{takeValue(in), takeValue(in)};
    const ChartGrid grid = ChartMath::chooseGrid(other);
    checkGrid(grid, other);
    for (double v : {other.lower, other.upper, takeValue(in), double(NAN), double(INFINITY),
                     -double(INFINITY)})
        checkPixels(v, grid, 1 + in.pick(400));
    // Every value is taken in its own statement: the order in which a call's arguments are
    // evaluated differs between compilers, and the regression test must read the same values.
    const double labelValue = takeValue(in);
    const int labelDecimals = in.pick(6);
    check(!ChartMath::gridLabelText(labelValue, labelDecimals, separator, language).isEmpty(),
          "a grid label text");
    const double fixedValue = takeValue(in);
    const int precision = in.pick(25) - 2;
    const int decimals = in.pick(25) - 2;
    check(!ChartMath::fixedText(fixedValue, precision, decimals).isEmpty(), "a fixed text");

    const int measRange = in.pick(4) - 1;
    const int unitP = in.pick(5) - 1;
    ChartRanges::pressureRange(measRange, unitP);
    const double scalingDown = takeValue(in);
    const double scalingUp = takeValue(in);
    const bool pressure = in.flag();
    const int unit = in.pick(4) - 1;
    const int signal = in.pick(5) - 1;
    const ValueRange input =
        ChartRanges::inputRange(scalingDown, scalingUp, pressure, unit, signal);
    checkGrid(ChartMath::chooseGrid(input), input);
}

} // namespace zelfuzz

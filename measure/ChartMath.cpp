#include "measure/ChartMath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

constexpr std::array<double, ChartMath::kStepCount> kGridSteps = {
    0.0001, 0.0002, 0.0005, 0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1,   0.2,   0.5,   1,     2, 5,
    10,     20,     50,     100,   200,   500,   1000, 2000, 5000, 10000, 20000, 50000, 100000};

constexpr int kMaxIntervals = ChartMath::kMaxGridLines - 1;
constexpr double kStartLower = 1000000.0;
constexpr double kStartUpper = -1000000.0;
constexpr double kWidening = 0.1;
constexpr int kGridTop = 30;
constexpr int kGridBottomMargin = 10;
constexpr int kLabelPrecision = 8;

// Opens equal bounds by 0.1 each way; where 0.1 is lost in rounding (magnitudes beyond 1e15),
// by the neighbouring doubles, so the range never stays empty.
void widenEqualBounds(double &lower, double &upper) {
    lower -= kWidening;
    upper += kWidening;
    if (lower != upper)
        return;
    const double down = std::nextafter(lower, -HUGE_VAL);
    const double up = std::nextafter(upper, HUGE_VAL);
    if (std::isfinite(down))
        lower = down;
    if (std::isfinite(up))
        upper = up;
}

// A range the grid can be built on: finite, within +-1e300 (so differences of bounds and grid
// values stay finite), in order and not empty.
ValueRange saneRange(const ValueRange &range) {
    double lower = range.lower;
    double upper = range.upper;
    if (std::isnan(lower))
        lower = std::isnan(upper) ? 0.0 : upper;
    if (std::isnan(upper))
        upper = lower;
    lower = std::clamp(lower, -ChartMath::kMagnitudeLimit, ChartMath::kMagnitudeLimit);
    upper = std::clamp(upper, -ChartMath::kMagnitudeLimit, ChartMath::kMagnitudeLimit);
    if (lower > upper)
        std::swap(lower, upper);
    if (lower == upper)
        widenEqualBounds(lower, upper);
    return {lower, upper};
}

// Grid numbers gl, gh of a step: gl * step at or below lower, gh * step at or above upper.
// Kept as doubles: at the magnitudes allowed here they do not fit an integer.
void gridNumbers(const ValueRange &range, double step, double &gl, double &gh) {
    gl = std::trunc(range.lower / step) + 0.0;
    if (gl * step > range.lower)
        gl -= 1.0;
    gh = std::trunc(range.upper / step) + 0.0;
    if (gh * step < range.upper)
        gh += 1.0;
}

int integerDigits(double magnitude, int precision) {
    if (magnitude == 0.0)
        return 0;
    const QString text = QString::number(magnitude, 'e', precision - 1);
    return text.mid(text.indexOf(QLatin1Char('e')) + 1).toInt() + 1;
}

// "1.2345679E8", "-5E-7": mantissa without trailing zeros, exponent without "+" and zeros.
QString scientificText(double value, int precision) {
    const QString text = QString::number(value, 'e', precision - 1);
    const int e = text.indexOf(QLatin1Char('e'));
    QString mantissa = text.left(e);
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    return mantissa + QLatin1Char('E') + QString::number(text.mid(e + 1).toInt());
}

bool hasNonZeroDigit(const QString &text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
}

} // namespace

double ChartMath::gridStep(int stepIndex) {
    return kGridSteps[std::clamp(stepIndex, 0, kStepCount - 1)];
}

int ChartMath::decimalsForStep(int stepIndex) {
    const int decade = std::clamp(stepIndex, 0, kStepCount - 1) / 3;
    return std::max(0, 4 - decade);
}

ValueRange ChartMath::updateValueRange(ChannelHistory &history, int historyIndex,
                                       const ValueRange &configured) {
    const int last = ChannelHistory::clampIndex(historyIndex);
    double lower = kStartLower;
    double upper = kStartUpper;
    bool underflow = false;
    bool overflow = false;
    int count = 0;
    for (int i = 0; i <= last; ++i) {
        const HistoryPoint &point = history.at(i);
        if (point.state == PointState::Underflow)
            underflow = true;
        else if (point.state == PointState::Overflow)
            overflow = true;
        else if (point.state == PointState::Value && std::isfinite(point.value)) {
            ++count;
            lower = std::min(lower, point.value);
            upper = std::max(upper, point.value);
        }
    }
    if (underflow && lower > configured.lower)
        lower = configured.lower;
    if (overflow && upper < configured.upper)
        upper = configured.upper;
    for (int i = 0; i <= last; ++i) {
        HistoryPoint &point = history.at(i);
        if (point.state == PointState::Underflow)
            point.value = lower;
        else if (point.state == PointState::Overflow)
            point.value = upper;
    }
    if (lower == upper)
        widenEqualBounds(lower, upper);
    if (count == 0)
        return configured;
    return {lower, upper};
}

ChartGrid ChartMath::chooseGrid(const ValueRange &range) {
    const ValueRange sane = saneRange(range);
    double gl = 0.0;
    double gh = 0.0;
    int k = 0;
    for (; k < kStepCount; ++k) {
        gridNumbers(sane, kGridSteps[k], gl, gh);
        if (gh - gl <= kMaxIntervals)
            break;
    }
    // Beyond the table the numbers of its last step, computed last, stand.
    k = std::min(k, kStepCount - 1);

    ChartGrid grid;
    grid.stepIndex = k;
    grid.step = kGridSteps[k];
    grid.decimals = decimalsForStep(k);
    if (!(gh > gl))
        gh = gl + 1.0;
    grid.bottom = gl * grid.step;
    grid.top = gh * grid.step;
    if (!(grid.top > grid.bottom))
        grid.top = std::nextafter(grid.bottom, HUGE_VAL);
    grid.lineCount = static_cast<int>(std::min(gh - gl, double(kMaxIntervals))) + 1;
    return grid;
}

int ChartMath::yOf(double value, const ChartGrid &grid, int height) {
    double y = kGridTop + (height - 40) * (grid.top - value) / (grid.top - grid.bottom);
    if (std::isnan(y))
        y = height - kGridBottomMargin;
    y = std::clamp(y, double(-kCoordinateLimit), double(kCoordinateLimit));
    return static_cast<int>(std::nearbyint(y));
}

double ChartMath::plottedValue(const HistoryPoint &point, const ChartGrid &grid) {
    switch (point.state) {
    case PointState::Underflow:
        return grid.bottom;
    case PointState::Overflow:
        return grid.top;
    default:
        return point.value;
    }
}

QString ChartMath::gridLabelText(double value, int decimals, QChar localSeparator, int language) {
    QString text = fixedText(value, kLabelPrecision, decimals);
    text.replace(QLatin1Char('.'), localSeparator);
    if (language > 0)
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}

QString ChartMath::fixedText(double value, int precision, int decimals) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);
    const double magnitude = std::fabs(value);
    const int digitsBeforePoint = integerDigits(magnitude, precision);
    if (digitsBeforePoint > precision)
        return scientificText(value, precision);

    // Digits beyond the precision are shown as zeros.
    const int exact = std::clamp(precision - digitsBeforePoint, 0, decimals);
    QString text = QString::number(magnitude, 'f', exact);
    if (exact < decimals) {
        if (exact == 0)
            text += QLatin1Char('.');
        text += QString(decimals - exact, QLatin1Char('0'));
    }
    if (value < 0 && hasNonZeroDigit(text))
        text.prepend(QLatin1Char('-'));
    return text;
}

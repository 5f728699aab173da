#include "measure/ChartPainter.h"

#include <cstdlib>

namespace {

constexpr int kAxisMargin = 10;
constexpr int kGridLeft = 10;
constexpr int kGridRight = 100;
constexpr int kDotLength = 3;

struct Pen {
    QRgb colour = ChartPainter::kFrameColour;
    bool dotted = false;
};

void plot(QImage &image, int x, int y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
        image.setPixel(x, y, colour);
}

// Octants counted clockwise from the positive x axis (y grows downwards), 1..8.
int octant(int dx, int dy) {
    if (dy > 0) {
        if (dx > 0)
            return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0)
        return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

// Lines in these octants step on a tie, the others do not: both ways a tie ends on the
// pixel with the lower coordinate.
bool stepsOnTie(int dx, int dy) {
    const int o = octant(dx, dy);
    return o == 3 || o == 5 || o == 6 || o == 8;
}

// Bresenham from `from` up to, but not including, `to`. A dotted pen restarts its pattern at
// the start of every line.
void drawLine(QImage &image, QPoint from, QPoint to, const Pen &pen) {
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const int major = xMajor ? std::abs(dx) : std::abs(dy);
    const int minor = xMajor ? std::abs(dy) : std::abs(dx);
    const int bias = stepsOnTie(dx, dy) ? 1 : 0;
    const int xStep = dx < 0 ? -1 : 1;
    const int yStep = dy < 0 ? -1 : 1;
    int x = from.x();
    int y = from.y();
    int error = 2 * minor - major;
    for (int k = 0; k < major; ++k) {
        const bool on = !pen.dotted || (k / kDotLength) % 2 == 0;
        plot(image, x, y, on ? pen.colour : ChartPainter::kBackgroundColour);
        const bool minorStep = error + bias > 0;
        error += minorStep ? 2 * (minor - major) : 2 * minor;
        if (xMajor) {
            x += xStep;
            y += minorStep ? yStep : 0;
        } else {
            y += yStep;
            x += minorStep ? xStep : 0;
        }
    }
}

// Black outline on the outermost pixels, white inside.
void drawFrame(QImage &image) {
    const int w = image.width();
    const int h = image.height();
    image.fill(ChartPainter::kBackgroundColour);
    for (int x = 0; x < w; ++x) {
        plot(image, x, 0, ChartPainter::kFrameColour);
        plot(image, x, h - 1, ChartPainter::kFrameColour);
    }
    for (int y = 0; y < h; ++y) {
        plot(image, 0, y, ChartPainter::kFrameColour);
        plot(image, w - 1, y, ChartPainter::kFrameColour);
    }
}

void drawGrid(QImage &image, const ChartGrid &grid, QChar localSeparator, int language,
              ChartUpdate &update) {
    const Pen dotted{ChartPainter::kGridColour, true};
    for (int j = 0; j < grid.lineCount; ++j) {
        const double value = grid.value(j);
        const int y = ChartMath::yOf(value, grid, image.height());
        if (j > 0)
            drawLine(image, {kGridLeft, y}, {kGridRight, y}, dotted);
        update.labels[j].text =
            ChartMath::gridLabelText(value, grid.decimals, localSeparator, language);
        update.labels[j].top = y + ChartPainter::kLabelTopOffset;
    }
    update.visibleLabels = grid.lineCount;
}

void drawCurve(QImage &image, const ChannelHistory &history, int historyIndex,
               const ChartGrid &grid) {
    const Pen red{ChartPainter::kCurveColour, false};
    const int last = ChannelHistory::clampIndex(historyIndex);
    auto pointAt = [&](int i) {
        const double value = ChartMath::plottedValue(history.at(i), grid);
        return QPoint(ChartMath::xOf(i), ChartMath::yOf(value, grid, image.height()));
    };
    QPoint pen = pointAt(0);
    for (int i = 0; i <= last; ++i) {
        const QPoint next = pointAt(i);
        drawLine(image, pen, next, red);
        pen = next;
    }
    // A line to its own start point sets no pixel; a lone point still shows as a dot.
    if (last == 0)
        plot(image, pen.x(), pen.y(), red.colour);
}

} // namespace

QImage ChartPainter::createImage() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    drawEmptyChart(image);
    return image;
}

void ChartPainter::drawEmptyChart(QImage &image) {
    if (image.isNull())
        image = QImage(kWidth, kHeight, QImage::Format_RGB32);
    else if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const Pen black;
    drawFrame(image);

    const QPoint origin(kAxisMargin, h - kAxisMargin);
    const QPoint yTip(kAxisMargin, kAxisMargin);
    drawLine(image, origin, yTip, black);
    drawLine(image, yTip, {5, 20}, black);
    drawLine(image, yTip, {15, 20}, black);
    drawLine(image, {5, 30}, {15, 30}, black);

    const QPoint xTip(w - kAxisMargin, h - kAxisMargin);
    drawLine(image, origin, xTip, black);
    drawLine(image, xTip, {w - 20, h - 5}, black);
    drawLine(image, xTip, {w - 20, h - 15}, black);
    drawLine(image, {100, h - 5}, {100, h - 15}, black);
}

ChartUpdate ChartPainter::drawChart(QImage &image, ChannelHistory &history, int historyIndex,
                                    const ValueRange &configured, QChar localSeparator,
                                    int language) {
    ChartUpdate update;
    drawEmptyChart(image);
    update.range = ChartMath::updateValueRange(history, historyIndex, configured);
    update.grid = ChartMath::chooseGrid(update.range);
    drawGrid(image, update.grid, localSeparator, language, update);
    drawCurve(image, history, historyIndex, update.grid);
    return update;
}

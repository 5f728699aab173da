#pragma once

#include "measure/ChannelHistory.h"
#include "measure/ChartMath.h"

#include <QChar>
#include <QImage>
#include <QString>
#include <QtGui/qrgb.h>

#include <array>

// Text and position of one grid label; `top` is in coordinates of the measurement page.
struct GridLabel {
    QString text;
    int top = 0;
};

// What a chart update leaves to the window: the new current value range, the grid, and the
// labels to move and show (labels 0..visibleLabels - 1; the rest are hidden).
struct ChartUpdate {
    ValueRange range;
    ChartGrid grid;
    std::array<GridLabel, ChartMath::kMaxGridLines> labels;
    int visibleLabels = 0;
};

// Draws the live charts pixel by pixel with the line rules of the canvas the charts were
// designed on: a line covers its start pixel but not its end pixel, ties between two pixels
// go to the lower coordinate, and a dotted line runs 3 pixels on, 3 pixels off with the gaps
// in the background colour.
class ChartPainter {
public:
    static constexpr int kWidth = 130;
    static constexpr int kHeight = 200;
    // Grid label top = pixel row of its grid line + this, in page coordinates.
    static constexpr int kLabelTopOffset = 157;

    static constexpr QRgb kFrameColour = 0xff000000;
    static constexpr QRgb kBackgroundColour = 0xffffffff;
    static constexpr QRgb kGridColour = 0xff808080;
    static constexpr QRgb kCurveColour = 0xffff0000;

    // A 130 x 200 image showing the empty chart.
    static QImage createImage();

    // Frame, axes with arrow heads, the top mark and the mark of the 30th interval. A null
    // image becomes a 130 x 200 one; any other keeps its size and becomes 32-bit RGB.
    static void drawEmptyChart(QImage &image);

    // One chart update of a shown chart: the empty chart, the value range of history points
    // 0..historyIndex (writing underflow and overflow points, see ChartMath), the grid lines
    // with their label texts in the given number format, and the red curve.
    static ChartUpdate drawChart(QImage &image, ChannelHistory &history, int historyIndex,
                                 const ValueRange &configured, QChar localSeparator, int language);
};

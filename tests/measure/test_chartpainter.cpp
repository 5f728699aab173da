#include "measure/ChartPainter.h"

#include <QtTest>

#include <QSet>
#include <QVector>

#include <cmath>
#include <limits>

namespace {

constexpr QRgb kBlack = ChartPainter::kFrameColour;
constexpr QRgb kWhite = ChartPainter::kBackgroundColour;
constexpr QRgb kGrey = ChartPainter::kGridColour;
constexpr QRgb kRed = ChartPainter::kCurveColour;

using PixelSet = QSet<QPair<int, int>>;

int ceilDiv(int p, int q) {
    return p >= 0 ? (p + q - 1) / q : -((-p) / q);
}

// A line as the canvas sets it, worked out independently of the painter: one pixel per step
// along the longer axis from the start up to but without the end, the other coordinate the
// exact one rounded to the nearest pixel with halves going to the lower coordinate.
QVector<QPoint> referenceLine(QPoint a, QPoint b) {
    const int dx = b.x() - a.x();
    const int dy = b.y() - a.y();
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const int n = xMajor ? std::abs(dx) : std::abs(dy);
    QVector<QPoint> pixels;
    for (int k = 0; k < n; ++k) {
        if (xMajor) {
            const int y = ceilDiv(2 * (a.y() * n + dy * k) - n, 2 * n);
            pixels << QPoint(a.x() + (dx > 0 ? k : -k), y);
        } else {
            const int x = ceilDiv(2 * (a.x() * n + dx * k) - n, 2 * n);
            pixels << QPoint(x, a.y() + (dy > 0 ? k : -k));
        }
    }
    return pixels;
}

void addLine(PixelSet &set, QPoint a, QPoint b) {
    for (const QPoint &p : referenceLine(a, b))
        set.insert({p.x(), p.y()});
}

PixelSet pixelsOf(const QImage &image, QRgb colour) {
    PixelSet set;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                set.insert({x, y});
    return set;
}

ChannelHistory historyOf(std::initializer_list<double> values) {
    ChannelHistory history;
    int i = 0;
    for (double v : values)
        history.setValue(i++, v);
    return history;
}

} // namespace

class TestChartPainter : public QObject {
    Q_OBJECT

private slots:
    void referenceLineFollowsTheTieRule();
    void emptyChart();
    void emptyChartOnOtherImages();
    void curveAndGrid();
    void dottedGridLines();
    void singlePointIsADot();
    void underflowsLieOnTheBottomLine();
    void labelsInGermanAndEnglish();
    void redrawStartsFromAnEmptyChart();
    void absurdHistoryStaysOnTheChart();
};

void TestChartPainter::referenceLineFollowsTheTieRule() {
    // The oracle itself: hand-counted pixels of the y-axis arrow heads.
    const QVector<QPoint> left = {{10, 10}, {9, 11}, {9, 12}, {8, 13}, {8, 14},
                                  {7, 15},  {7, 16}, {6, 17}, {6, 18}, {5, 19}};
    QCOMPARE(referenceLine({10, 10}, {5, 20}), left);
    const QVector<QPoint> right = {{10, 10}, {10, 11}, {11, 12}, {11, 13}, {12, 14},
                                   {12, 15}, {13, 16}, {13, 17}, {14, 18}, {14, 19}};
    QCOMPARE(referenceLine({10, 10}, {15, 20}), right);
    QVERIFY(referenceLine({4, 4}, {4, 4}).isEmpty());
}

void TestChartPainter::emptyChart() {
    const QImage image = ChartPainter::createImage();
    QCOMPARE(image.size(), QSize(130, 200));
    QCOMPARE(image.format(), QImage::Format_RGB32);

    // Corners and frame.
    for (QPoint p : {QPoint(0, 0), QPoint(129, 0), QPoint(0, 199), QPoint(129, 199), QPoint(64, 0),
                     QPoint(0, 100), QPoint(129, 100), QPoint(64, 199)})
        QCOMPARE(image.pixel(p), kBlack);
    for (QPoint p : {QPoint(1, 1), QPoint(128, 198), QPoint(64, 100), QPoint(9, 190)})
        QCOMPARE(image.pixel(p), kWhite);

    // Axes: the y axis from (10, 190) up to its tip, the x axis up to its tip at (120, 190).
    QCOMPARE(image.pixel(10, 190), kBlack);
    QCOMPARE(image.pixel(10, 11), kBlack);
    QCOMPARE(image.pixel(10, 10), kBlack);
    QCOMPARE(image.pixel(10, 9), kWhite);
    QCOMPARE(image.pixel(119, 190), kBlack);
    QCOMPARE(image.pixel(120, 190), kBlack);
    QCOMPARE(image.pixel(121, 190), kWhite);
    // Arrow heads end one pixel short of their end points.
    QCOMPARE(image.pixel(5, 19), kBlack);
    QCOMPARE(image.pixel(5, 20), kWhite);
    QCOMPARE(image.pixel(14, 19), kBlack);
    QCOMPARE(image.pixel(15, 20), kWhite);
    QCOMPARE(image.pixel(111, 194), kBlack);
    QCOMPARE(image.pixel(110, 195), kWhite);
    QCOMPARE(image.pixel(111, 185), kBlack);
    QCOMPARE(image.pixel(110, 185), kWhite);
    // Top mark x = 5..14, mark of the 30th interval y = 186..195.
    QCOMPARE(image.pixel(5, 30), kBlack);
    QCOMPARE(image.pixel(14, 30), kBlack);
    QCOMPARE(image.pixel(15, 30), kWhite);
    QCOMPARE(image.pixel(4, 30), kWhite);
    QCOMPARE(image.pixel(100, 195), kBlack);
    QCOMPARE(image.pixel(100, 186), kBlack);
    QCOMPARE(image.pixel(100, 185), kWhite);
    QCOMPARE(image.pixel(100, 196), kWhite);

    // Every pixel: black exactly where frame, axes, arrows and marks are.
    PixelSet expected;
    for (int x = 0; x < 130; ++x)
        expected << qMakePair(x, 0) << qMakePair(x, 199);
    for (int y = 0; y < 200; ++y)
        expected << qMakePair(0, y) << qMakePair(129, y);
    addLine(expected, {10, 190}, {10, 10});
    addLine(expected, {10, 10}, {5, 20});
    addLine(expected, {10, 10}, {15, 20});
    addLine(expected, {5, 30}, {15, 30});
    addLine(expected, {10, 190}, {120, 190});
    addLine(expected, {120, 190}, {110, 195});
    addLine(expected, {120, 190}, {110, 185});
    addLine(expected, {100, 195}, {100, 185});
    QCOMPARE(pixelsOf(image, kBlack), expected);
    QCOMPARE(pixelsOf(image, kWhite).size(), 130 * 200 - expected.size());
}

void TestChartPainter::emptyChartOnOtherImages() {
    QImage null;
    ChartPainter::drawEmptyChart(null);
    QCOMPARE(null.size(), QSize(130, 200));
    QCOMPARE(null, ChartPainter::createImage());

    QImage argb(130, 200, QImage::Format_ARGB32);
    argb.fill(Qt::transparent);
    ChartPainter::drawEmptyChart(argb);
    QCOMPARE(argb.format(), QImage::Format_RGB32);
    QCOMPARE(argb, ChartPainter::createImage());

    // Another height moves the bottom axis with it.
    QImage tall(130, 300, QImage::Format_RGB32);
    ChartPainter::drawEmptyChart(tall);
    QCOMPARE(tall.pixel(60, 290), kBlack);
    QCOMPARE(tall.pixel(100, 295), kBlack);
    QCOMPARE(tall.pixel(60, 190), kWhite);
}

void TestChartPainter::curveAndGrid() {
    QImage image = ChartPainter::createImage();
    ChannelHistory history = historyOf({0, 6, 3, 6});
    const ChartUpdate update =
        ChartPainter::drawChart(image, history, 3, {-250, 250}, QLatin1Char(','), 1);
    QCOMPARE(update.range.lower, 0.0);
    QCOMPARE(update.range.upper, 6.0);
    QCOMPARE(update.grid.step, 1.0);

    // Points at (10, 190), (13, 30), (16, 110), (19, 30); the last end pixel stays unset.
    PixelSet expected;
    addLine(expected, {10, 190}, {13, 30});
    addLine(expected, {13, 30}, {16, 110});
    addLine(expected, {16, 110}, {19, 30});
    QCOMPARE(pixelsOf(image, kRed), expected);
    // Ties on the way: x = 11.5 at y = 110, 14.5 and 17.5 at y = 70 go to the lower x.
    QCOMPARE(image.pixel(11, 110), kRed);
    QCOMPARE(image.pixel(14, 70), kRed);
    QCOMPARE(image.pixel(17, 70), kRed);
    QCOMPARE(image.pixel(10, 190), kRed);
    QCOMPARE(image.pixel(13, 30), kRed);
    QVERIFY(image.pixel(19, 30) != kRed);

    // Labels 0..6 at their grid rows + 157; the eighth hidden.
    QCOMPARE(update.visibleLabels, 7);
    const int rows[] = {190, 163, 137, 110, 83, 57, 30};
    for (int j = 0; j < 7; ++j) {
        QCOMPARE(update.labels[j].text, QString::number(j));
        QCOMPARE(update.labels[j].top, rows[j] + ChartPainter::kLabelTopOffset);
    }
    QVERIFY(update.labels[7].text.isEmpty());
}

void TestChartPainter::dottedGridLines() {
    // Two points: the curve stays left of x = 13, the grid lines are plain to see.
    QImage image = ChartPainter::createImage();
    ChannelHistory history = historyOf({0, 6});
    ChartPainter::drawChart(image, history, 1, {0, 1}, QLatin1Char('.'), 1);

    for (int y : {163, 137, 110, 83, 57}) {
        for (int x = 13; x < 100; ++x)
            QCOMPARE(image.pixel(x, y), ((x - 10) / 3) % 2 == 0 ? kGrey : kWhite);
        QCOMPARE(image.pixel(100, y), kWhite);
        // The grid line starts on the y axis and covers it.
        QCOMPARE(image.pixel(10, y), kGrey);
    }
    // No grid line on the x axis; the top one paints its gaps over the top mark.
    QCOMPARE(image.pixel(50, 190), kBlack);
    QCOMPARE(image.pixel(9, 30), kBlack);
    QCOMPARE(image.pixel(10, 30), kGrey);
    QCOMPARE(image.pixel(13, 30), kWhite);
    QCOMPARE(image.pixel(16, 30), kGrey);
    // Six lines of 15 dots of 3 pixels; the curve covers one grey pixel on five of them.
    QCOMPARE(pixelsOf(image, kGrey).size(), 6 * 45 - 5);
}

void TestChartPainter::singlePointIsADot() {
    QImage image = ChartPainter::createImage();
    ChannelHistory history = historyOf({5.0});
    const ChartUpdate update =
        ChartPainter::drawChart(image, history, 0, {-250, 250}, QLatin1Char('.'), 1);
    QCOMPARE(pixelsOf(image, kRed), PixelSet({{10, 110}}));
    QCOMPARE(update.visibleLabels, 5);
    QCOMPARE(update.labels[0].text, QString("4.90"));
    QCOMPARE(update.labels[4].text, QString("5.10"));
    QCOMPARE(update.labels[4].top, 30 + ChartPainter::kLabelTopOffset);
}

void TestChartPainter::underflowsLieOnTheBottomLine() {
    QImage image = ChartPainter::createImage();
    ChannelHistory history;
    for (int i = 0; i < 4; ++i)
        history.setState(i, PointState::Underflow);
    const ChartUpdate update =
        ChartPainter::drawChart(image, history, 3, {-120, 120}, QLatin1Char('.'), 1);
    QCOMPARE(update.grid.bottom, -150.0);
    QCOMPARE(update.labels[0].text, QString("-150"));
    QCOMPARE(update.labels[6].text, QString("150"));
    QCOMPARE(update.visibleLabels, 7);
    PixelSet expected;
    for (int x = 10; x < 19; ++x)
        expected.insert({x, 190});
    QCOMPARE(pixelsOf(image, kRed), expected);
    QCOMPARE(image.pixel(19, 190), kBlack);
    QCOMPARE(history.at(2).value, -120.0);
}

void TestChartPainter::labelsInGermanAndEnglish() {
    ChannelHistory history = historyOf({13.0, 12.3, 14.1, 12.8});
    QImage image = ChartPainter::createImage();
    ChartUpdate german = ChartPainter::drawChart(image, history, 3, {0, 1}, QLatin1Char(','), 0);
    QCOMPARE(german.visibleLabels, 6);
    QCOMPARE(german.labels[0].text, QString("12,0"));
    QCOMPARE(german.labels[5].text, QString("14,5"));
    const ChartUpdate english =
        ChartPainter::drawChart(image, history, 3, {0, 1}, QLatin1Char(','), 1);
    QCOMPARE(english.labels[1].text, QString("12.5"));
    QCOMPARE(english.labels[1].top, german.labels[1].top);
    const ChartUpdate french =
        ChartPainter::drawChart(image, history, 3, {0, 1}, QLatin1Char(','), 2);
    QCOMPARE(french.labels[3].text, QString("13.5"));
}

void TestChartPainter::redrawStartsFromAnEmptyChart() {
    QImage image = ChartPainter::createImage();
    ChannelHistory first = historyOf({0, 6, 3, 6});
    ChartPainter::drawChart(image, first, 3, {0, 1}, QLatin1Char('.'), 1);
    ChannelHistory second = historyOf({1, 1});
    ChartPainter::drawChart(image, second, 1, {0, 1}, QLatin1Char('.'), 1);
    // Only the flat second curve remains: row 110 from x = 10 to 12.
    QCOMPARE(pixelsOf(image, kRed), PixelSet({{10, 110}, {11, 110}, {12, 110}}));
}

void TestChartPainter::absurdHistoryStaysOnTheChart() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    ChannelHistory history = historyOf({1e308, -1e308, nan, inf, -inf, -0.0, 5.0, 1e-300});
    history.setState(8, PointState::Overflow);
    QImage image = ChartPainter::createImage();
    const ChartUpdate update =
        ChartPainter::drawChart(image, history, 8, {nan, inf}, QLatin1Char(','), 0);
    QVERIFY(update.visibleLabels >= 1 && update.visibleLabels <= 8);
    for (int j = 0; j < update.visibleLabels; ++j) {
        QVERIFY(!update.labels[j].text.isEmpty());
        QVERIFY(update.labels[j].top >= 30 + ChartPainter::kLabelTopOffset);
        QVERIFY(update.labels[j].top <= 190 + ChartPainter::kLabelTopOffset);
    }
    QVERIFY(!pixelsOf(image, kRed).isEmpty());
    QCOMPARE(image.pixel(0, 0), kBlack);
}

QTEST_APPLESS_MAIN(TestChartPainter)
#include "test_chartpainter.moc"

#include "report/ReportChart.h"

#include "i18n/MessageCatalogue.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

const QColor kGridColour(0x80, 0x80, 0x80);
const QColor kCurveColour(0xff, 0x00, 0x00);

} // namespace

ValueRange ReportChart::rangeOf(const ChannelCheck &channel) {
    ValueRange range =
        channel.values > 0 ? ValueRange{channel.minimum, channel.maximum} : channel.configured;
    for (const HistoryPoint &reading : channel.readings) {
        if (reading.state == PointState::Underflow)
            range.lower = std::min(range.lower, channel.configured.lower);
        else if (reading.state == PointState::Overflow)
            range.upper = std::max(range.upper, channel.configured.upper);
    }
    return range;
}

void ReportChart::paint(QPainter &painter, const QRectF &rect, const ChannelCheck &channel,
                        const LiveCheckResult &check, const CommissioningReport &report,
                        const Style &style) {
    const QFontMetricsF titleMetrics(style.title, painter.device());
    const QFontMetricsF labelMetrics(style.labels, painter.device());
    QString title = channel.caption;
    if (!channel.unit.isEmpty())
        title += QStringLiteral(" [") + channel.unit + QLatin1Char(']');
    painter.setFont(style.title);
    painter.setPen(Qt::black);
    painter.drawText(
        QPointF(rect.left() + style.labelRoom, rect.top() + titleMetrics.ascent()),
        titleMetrics.elidedText(title, Qt::ElideRight, rect.width() - style.labelRoom));

    const QRectF frame(rect.left() + style.labelRoom,
                       rect.top() + titleMetrics.lineSpacing() + labelMetrics.ascent() / 2,
                       rect.width() - style.labelRoom - labelMetrics.averageCharWidth(),
                       rect.height() - titleMetrics.lineSpacing() -
                           1.5 * labelMetrics.lineSpacing());
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    painter.setFont(style.labels);
    if (!channel.polled) {
        painter.drawText(frame, Qt::AlignCenter,
                         MessageCatalogue::text(CatalogueEntry::Off, report.language));
        return;
    }

    const ChartGrid grid = ChartMath::chooseGrid(rangeOf(channel));
    const double bottom = grid.value(0);
    const double top = grid.value(grid.lineCount - 1);
    const auto yOf = [&](double value) {
        const double span = top > bottom ? top - bottom : 1.0;
        const double share = std::clamp((value - bottom) / span, 0.0, 1.0);
        return frame.bottom() - share * frame.height();
    };
    for (int line = 0; line < grid.lineCount; ++line) {
        const double value = grid.value(line);
        const qreal y = yOf(value);
        if (line > 0 && line < grid.lineCount - 1) {
            painter.setPen(QPen(kGridColour, 0, Qt::DotLine));
            painter.drawLine(QPointF(frame.left(), y), QPointF(frame.right(), y));
        }
        const QString text = ChartMath::gridLabelText(value, grid.decimals, report.decimalSeparator,
                                                      report.language);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(rect.left(), y - labelMetrics.lineSpacing() / 2,
                                style.labelRoom - labelMetrics.averageCharWidth(),
                                labelMetrics.lineSpacing()),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }

    const int count = int(channel.readings.size());
    const auto xOf = [&](int index) {
        return count > 1 ? frame.left() + frame.width() * index / (count - 1) : frame.center().x();
    };
    QPainterPath curve;
    bool drawing = false;
    for (int i = 0; i < count; ++i) {
        const HistoryPoint &reading = channel.readings[std::size_t(i)];
        if (reading.state == PointState::Empty) {
            drawing = false;
            continue;
        }
        const QPointF point(xOf(i), yOf(ChartMath::plottedValue(reading, grid)));
        if (drawing)
            curve.lineTo(point);
        else
            curve.moveTo(point);
        drawing = true;
    }
    painter.setPen(QPen(kCurveColour, style.lineWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(curve);
    // A lone reading shows as a dot.
    if (count == 1 && channel.readings.front().state != PointState::Empty)
        painter.drawPoint(curve.currentPosition());

    painter.setPen(Qt::black);
    const qreal labelTop = frame.bottom() + labelMetrics.lineSpacing() * 0.25;
    const QString end = QString::number((count - 1) * check.intervalMs / 1000) + QLatin1Char(' ') +
                        MessageCatalogue::text(CatalogueEntry::SecondsUnit, report.language);
    painter.drawText(QRectF(frame.left(), labelTop, frame.width(), labelMetrics.lineSpacing()),
                     Qt::AlignLeft | Qt::AlignTop, QStringLiteral("0"));
    painter.drawText(QRectF(frame.left(), labelTop, frame.width(), labelMetrics.lineSpacing()),
                     Qt::AlignRight | Qt::AlignTop, end);
}

#pragma once

#include "report/CommissioningReport.h"

#include <QFont>
#include <QRectF>

class QPainter;

// One chart of the live-value check as vector drawing: the channel's caption and unit, a frame,
// dotted grid lines with their values (the grid the measurement page would choose), the
// readings as a red line, and the time axis from 0 to the last reading.
class ReportChart {
public:
    struct Style {
        QFont title;
        QFont labels;
        qreal labelRoom = 0; // width left of the frame for the grid values
        qreal lineWidth = 0; // of the curve; frame and grid are hairlines
    };

    static void paint(QPainter &painter, const QRectF &rect, const ChannelCheck &channel,
                      const LiveCheckResult &check, const CommissioningReport &report,
                      const Style &style);
    // The value range the grid is built on: the readings' span, widened to the configured
    // bounds by readings beyond the range; the configured range when no reading is a number.
    static ValueRange rangeOf(const ChannelCheck &channel);
};

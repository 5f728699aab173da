#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace AppIcon {

namespace {

// The drawing of the SVG's 128 x 128 canvas, scaled to `size`.
QPixmap draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128.0, size / 128.0);
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 4));
    p.setBrush(QColor(0xf4, 0xf4, 0xf4));
    p.drawRoundedRect(QRectF(8, 8, 112, 112), 14, 14);
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 2, Qt::DashLine));
    p.drawLine(QPointF(24, 60), QPointF(104, 60));
    p.setPen(QPen(Qt::black, 4));
    p.drawLine(QPointF(24, 100), QPointF(24, 24));
    p.drawLine(QPointF(24, 100), QPointF(104, 100));
    QPainterPath trace(QPointF(28, 80));
    for (const QPointF &point :
         {QPointF(44, 62), QPointF(58, 70), QPointF(72, 44), QPointF(86, 52), QPointF(100, 34)})
        trace.lineTo(point);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xdd, 0, 0), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trace);
    return pixmap;
}

} // namespace

QIcon make() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(draw(size));
    return icon;
}

} // namespace AppIcon

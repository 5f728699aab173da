#include "app/WindowPlacement.h"

#include <QtGlobal>

int WindowPlacement::maxClientHeight(const QMargins &frame, const QRect &available) {
    return available.height() - frame.top() - frame.bottom();
}

QRect WindowPlacement::fit(const QRect &client, const QMargins &frame, const QRect &available,
                           int minHeight) {
    QRect fitted = client;
    fitted.setHeight(qMax(minHeight, qMin(client.height(), maxClientHeight(frame, available))));
    // Bottom and right first, so a window larger than the area keeps its title bar reachable.
    if (fitted.bottom() + frame.bottom() > available.bottom())
        fitted.moveBottom(available.bottom() - frame.bottom());
    if (fitted.right() + frame.right() > available.right())
        fitted.moveRight(available.right() - frame.right());
    if (fitted.top() - frame.top() < available.top())
        fitted.moveTop(available.top() + frame.top());
    if (fitted.left() - frame.left() < available.left())
        fitted.moveLeft(available.left() + frame.left());
    return fitted;
}

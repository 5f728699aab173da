#pragma once

#include <QMargins>
#include <QRect>

// Where a top-level window goes on its screen: the window together with the frame the window
// manager draws around it (title bar, borders) lies inside the screen's available area, so no
// part of it, the status bar least of all, ends below the screen.
class WindowPlacement {
public:
    // The client geometry for a window whose client area is `client` now, framed by `frame`,
    // within `available`: as tall as it is when that fits, else as tall as fits but not below
    // `minHeight`, and moved as little as keeps the frame inside.
    static QRect fit(const QRect &client, const QMargins &frame, const QRect &available,
                     int minHeight);
    // The tallest client height whose frame fits `available`.
    static int maxClientHeight(const QMargins &frame, const QRect &available);
};

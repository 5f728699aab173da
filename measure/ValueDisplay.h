#pragma once

#include "measure/ChannelHistory.h"

#include <QChar>
#include <QString>

// What one poll of a channel gives: the point to store and the text of its value label.
struct PolledValue {
    PointState state = PointState::Empty;
    double value = 0.0; // only for PointState::Value
    QString text;
};

// Turns the device's reply to "?IP", "?IN1" or "?IN2" into a history point and a display text.
class ValueDisplay {
public:
    struct Format {
        QChar localSeparator = QLatin1Char(',');
        int language = 0;   // above 0 (English, French) the numbers show "."
        bool hecto = false; // hPa or mbar: three decimals instead of one
        QString unit;       // the text of the channel's unit list
    };

    // The reply without every occurrence of `channelName`, "." turned into the local
    // separator. "Err_Underflow" and "Err_Overflow" count only as the whole rest. Any other
    // rest that is not a number takes `fallback` (the previous point's value), silently.
    static PolledValue interpret(const QString &reply, const QString &channelName, double fallback,
                                 const Format &format);

    // Fixed decimals with 4 significant digits, " " and the unit: "12,3 Pa", "1.235 hPa".
    static QString valueText(double value, const Format &format);
};

#pragma once

#include "link/SerialDriver.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// What one port said to the probe.
struct PortProbeResult {
    QString device;
    bool answered = false;
    // When it answered: the device address (the reply text without the name) and the measuring
    // range index (0: +/- 250 Pa, 1: +/- 100 Pa; -1 when the range query went unanswered).
    QString address;
    int range = -1;
    // When it did not: why, in words a user can act on.
    QString reason;

    QString rangeText() const;
};

// The port search: every device is opened, all at once, at the given line settings and asked
// "?DeviceAdr" (then "?MeasRange"), queries that change nothing. A port another program holds
// (lock file or exclusive open) is skipped, never taken over. The whole search waits at most
// one probe time-out plus the wire time, however many ports there are; every port opened is
// closed again.
class PortProbe {
public:
    static constexpr int kTimeoutMs = 300;
    // The least wait after the last query went out: two short queries and their replies on a
    // 9600-baud line, with room to spare.
    static constexpr int kMinimumAnswerMs = 100;

    static QList<PortProbeResult> run(const QStringList &devices, const LineSettings &line,
                                      int timeoutMs = kTimeoutMs);
    // Probes each distinct device once (a /dev/serial/by-id name and the device it links to
    // are one port, which could not be opened twice at once) and answers for every name given.
    static QMap<QString, PortProbeResult> search(const QStringList &names, const LineSettings &line,
                                                 int timeoutMs = kTimeoutMs);
    // The variant question (">TCalibFinished") is not asked: it ends a re-calibration under way.
    static QString variantText() { return QStringLiteral("unknown"); }
};

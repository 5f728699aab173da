#pragma once

#include "teach/InstrumentBackend.h"

#include <QList>
#include <QString>

struct GpibSettings;

// The check of a bench before its first teach run: each configured instrument is opened and
// asked one harmless question (the data-acquisition unit "*IDN?", the pressure controller
// " Stable?"); nothing is set, vented or switched.
class BenchCheck {
public:
    struct Result {
        QString instrument; // "Agilent 34970A", "KMV700"
        QString backend;    // as the backend describes itself
        QString address;    // the GPIB address of the settings
        QString query;
        bool answered = false;
        QString reply; // the reply without its line end, or why there was none
        qint64 ms = 0;
    };

    // A user abort (EGlobalError) ends the check; every other failure is the instrument's result.
    static QList<Result> run(InstrumentBackend &backend, const GpibSettings &gpib);
    // One line per instrument: "Agilent 34970A  VISA  GPIB 9  answered in 12 ms: HEWLETT...".
    static QString text(const QList<Result> &results);
    static bool allAnswered(const QList<Result> &results);
};

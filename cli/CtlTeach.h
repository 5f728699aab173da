#pragma once

#include "cli/CtlCommands.h"
#include "cli/CtlOutput.h"
#include "teach/InstrumentBackend.h"

// The production teach run and the bench check from the command line: `zelctl teach` runs the
// window's teach run with the teach page's choices as options, `zelctl bench-check` asks each
// configured instrument one harmless question.
class CtlTeach {
public:
    // The seven groups of the teach run by their names on the command line, in run order.
    static const QStringList &groupNames();

    CtlTeach(ConsoleSession &session, CtlOutput &out, QString toolSettingsDir);

    int teach(const CtlRequest &request);
    int benchCheck(const CtlRequest &request);

private:
    struct Point {
        QString group, label, unit;
        double setpoint = 0;
        bool measuredKnown = false;
        double measured = 0;
        QString taught;
    };

    InstrumentBackend::Selection selection(const CtlRequest &request) const;
    void printPoints(const QList<Point> &points, const CtlRequest &request);
    static QByteArray record(const QList<Point> &points);

    ConsoleSession &session_;
    CtlOutput &out_;
    QString dir_;
};

#pragma once

#include "teach/BusSessions.h"
#include "teach/PressurePoints.h"

#include <QString>
#include <memory>

class InstrumentBackend;
class InstrumentSession;
class OperationRunner;
class TeachRunView;
struct GpibSettings;

// What the sections of a teach run share: the device session and the teach page as the run
// uses them, the options it reads, and the instruments. Waits, device commands and status
// texts all go through here.
class TeachRunContext {
public:
    TeachRunContext(OperationRunner &runner, TeachRunView &view, InstrumentBackend &instruments,
                    const GpibSettings &gpib);

    OperationRunner &runner() { return runner_; }
    TeachRunView &view() { return view_; }
    bool aborted() const;
    void status(const QString &text);
    void delay(int ms);
    QString send(const QString &command);
    void setLabel(const QString &name, const QString &text);
    void setProgress(int maximum, int position);
    void setProgressPosition(int position);
    int progressMaximum() const;
    void showMessage(const QString &text);
    // DTR first, then RTS.
    void setModemLines(LineSide side);

    bool checked(const char *checkBox) const;
    // Selected index of MeasRange1, -1 when it shows no item.
    int rangeIndex() const;
    bool zelSimulation() const;
    bool daValuesShown() const;
    // The instrument setting stored under `key` ("GPIB2", "Agilent_OUTD_Strom", ...).
    QString instrumentSetting(const char *key) const;
    // A measured value as the status shows it: general format, the user's decimal separator.
    QString numberText(double value) const;

    // A new connection to the instrument, open at its address ("GPIB1" or "GPIB2").
    std::unique_ptr<InstrumentSession> openInstrument(InstrumentRole role);

    // No measurement range chosen: the run is told to stop, as by the abort button.
    void refuseWithoutRange();

private:
    OperationRunner &runner_;
    TeachRunView &view_;
    InstrumentBackend &instruments_;
    const GpibSettings &gpib_;
};

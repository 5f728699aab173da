#pragma once

#include <QByteArray>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <vector>

// The rows and columns of the fault matrix, and the outcome of each cell as a Markdown table
// for docs/RELIABILITY.md.
class FaultMatrixReport {
public:
    enum class Action {
        Load,
        Send,
        Factory,
        StartMeasurement,
        RunningMeasurement,
        Zeroing,
        ZeroingWhileMeasuring,
        Reset,
        Recalibration,
        DeleteRecalibration,
        LoadTeach,
        SendTeach,
        TeachRun,
    };
    enum class Fault {
        Silent,
        ErrForever,
        Empty,
        Garbage,
        NoCr,
        Flood,
        SlowUnder,
        SlowOver,
        HangUp,
        Vanish,
        PortBusy,
        PermissionDenied,
    };
    // How a cell ended, as the report abbreviates it.
    enum class Outcome {
        Success,         // the action's own success status, no message box
        GoesOn,          // the measurement goes on (the fault could not bite or was tolerated)
        ExchangeFailure, // "Fehler beim Datenaustausch ..." after two failed attempts
        Bounded,         // the same after 100 resends on "Err" (no abort control)
        Abort,           // "Abbruch durch Benutzer" after the abort click
        Conversion,      // "'...' ist kein gültiger ...wert"
        NotAllSent,      // "Nicht alle Daten wurden erfolgreich gesendet"
        LinkLost,        // EComPort of a port that went away
        OpenFailed,      // EComPort "Unable to open com port"
    };

    static std::vector<Action> actions();
    static std::vector<Fault> faults();
    static QByteArray key(Action action);
    static QByteArray key(Fault fault);
    static QString title(Action action);
    static QString title(Fault fault);
    static QString label(Outcome outcome);

    // Names how a cell ended from what it showed.
    static Outcome classify(Fault fault, const QStringList &errors, bool measurementRunning);

    void begin(Action action, Fault fault);
    void observe(Action action, Fault fault, Outcome outcome, const QStringList &errors,
                 const QString &finalStatus, qint64 elapsedMs);
    void pass(Action action, Fault fault);
    // Writes the grid, the legend and the messages seen; false when the file cannot be written.
    bool write(const QString &path) const;

private:
    struct Cell {
        bool observed = false;
        bool passed = false;
        Outcome outcome = Outcome::Success;
        QString firstError;
        QString finalStatus;
        qint64 elapsedMs = 0;
    };
    using CellKey = QPair<int, int>;

    QString grid() const;
    QString messages() const;

    QMap<CellKey, Cell> cells_;
};

#pragma once

// link/: the device line and the one operation runner: the serial drivers (local ports, device
// servers over raw TCP or RFC 2217), the command exchange with its time-outs and owed replies,
// the port search, and the runner every action of both front ends goes through (its modes, its
// waits, its abort). link/ui/ holds the port setup dialog and its search panel.

#include "i18n/CatalogueEntry.h"
#include "link/OperationRunner.h"
#include "link/TComPort.h"

#include <QObject>
#include <QVector>
#include <functional>
#include <memory>

class CommandExchange;
class QTimer;
class SerialDriver;
class Waits;

// The one operation runner of a front end: the serial port and its command exchange, the
// waits, the abort request, the mode of the running device action (and whether a measurement
// holds the port), and the clean-up after a failure. The window and zelctl each run one; what
// they show goes to their Feedback. The enabled state of every control follows controlStates().
//
// Waiting on the device (a reply, a Delay, the messages handled before each line) never blocks
// the front end's event loop: it keeps painting. What may run meanwhile is decided here, in
// dispatch(): an abort or stop runs at once and ends the wait, as does a handler that only
// changes what is shown (the language); every other handler runs once no wait is left, so no
// second device action starts inside one and lines never mix.
class DeviceRunner : public QObject, public OperationRunner {
    Q_OBJECT
public:
    // Where a front end shows what the runner does.
    class Feedback {
    public:
        virtual ~Feedback() = default;
        virtual void showStatus(const QString &text) = 0;
        virtual QString shownStatus() const = 0;
        virtual void showProgressStart(int maximum) = 0;
        virtual void showProgressStep() = 0;
        virtual void showProgressReset() = 0;
        virtual QString message(CatalogueEntry entry) const = 0;
        virtual int language() const = 0;
        virtual QChar decimalSeparator() const = 0;
        // The measurement's polling, where the front end has one.
        virtual bool measurementRunning() const { return false; }
        virtual void pausePolling() {}
        virtual void resumePolling() {}
    };

    struct Options {
        int replyTimeoutMs = 50000;           // tests shorten the reply wait
        double waitScale = 1.0;               // tests shorten every wait
        std::unique_ptr<SerialDriver> driver; // the serial line (a test double in tests)
        QTimer *waitTimer = nullptr;          // the one timer of the waits; made here if none
    };

    DeviceRunner(Options options, Feedback &feedback, QObject *parent = nullptr);
    ~DeviceRunner() override;

    QString send(const QString &command) override;
    QString sendStep(const QString &command) override;
    QString sendUnabortable(const QString &command) override;
    void delay(int ms) override;
    void delayForDevice(int ms) override;
    void openPort() override;
    void closePort() override;
    bool portOpen() const override { return port_.connected(); }
    void setModemLines(bool dtr, bool rts) override;
    QString portSuffix() const override;

    bool abortRequested() const override { return abort_; }
    void clearAbort() override { abort_ = false; }
    // The abort buttons: the running exchange and every running wait end now.
    void requestAbort();
    // Every running wait ends now.
    void endWaits();
    // Before a program ends with the port open: a reply the device still owes (its wait was
    // aborted) is taken first, at most until its time-out, so the next program on the line
    // gets replies to its own lines only.
    void takeOwedReply();

    void setStatus(const QString &text) override { feedback_.showStatus(text); }
    void startProgress(int maximum) override { feedback_.showProgressStart(maximum); }
    void resetProgress() override { feedback_.showProgressReset(); }
    QString message(CatalogueEntry entry) const override { return feedback_.message(entry); }
    int language() const override { return feedback_.language(); }
    QChar decimalSeparator() const override { return feedback_.decimalSeparator(); }

    // --- modes ---
    void beginAction(DeviceAction action) override;
    void endAction() override;
    DeviceAction action() const { return action_; }
    // The measurement mode holds the port and keeps the settings out of reach while it runs.
    void setMeasuring(bool measuring);
    bool measuring() const { return measuring_; }
    // The running action was told to stop (its abort button is given up while it unwinds).
    void requestStop();
    // After a failure: the port is closed and the abort request dropped; every mode ends but
    // `stillUnwinding`, an action that has not returned yet (it keeps its stop request).
    void recoverFromFailure(DeviceAction stillUnwinding = DeviceAction::None);
    ControlStates controlStates() const;

    // --- what may run while the runner waits ---
    enum class Handler {
        Input,   // a user's action: held while a wait runs, dropped if the action then fails
        Abort,   // aborts or stops the running action: runs at once, also inside a wait
        Timer,   // a timer's tick: skipped while a wait runs (the timer comes again)
        Display, // changes only what is shown, never touches the device: runs at once
    };
    void dispatch(const std::function<void()> &handler, Handler kind);
    bool waiting() const { return waitDepth_ > 0; }
    // Handles pending events as a wait of the runner does; for the instrument buses, which wait
    // on their own lines in slices.
    void pumpMessages() { pumpWhileWaiting(); }

    bool measurementRunning() const override { return feedback_.measurementRunning(); }
    void pausePolling() override { feedback_.pausePolling(); }
    void resumePolling() override { feedback_.resumePolling(); }

    TComPort &port() { return port_; }
    const TComPort &port() const { return port_; }
    Waits &waits() { return *waits_; }

signals:
    // The mode changed: the controls follow controlStates().
    void controlStatesChanged();

private:
    class WaitScope;
    // Events are handled inside a wait: only what dispatch() lets through runs.
    void pumpWhileWaiting();
    void runHeldHandlers();

    Feedback &feedback_;
    TComPort port_;
    std::unique_ptr<CommandExchange> exchange_;
    Waits *waits_ = nullptr;
    double waitScale_ = 1.0;
    bool abort_ = false;
    DeviceAction action_ = DeviceAction::None;
    bool measuring_ = false;
    bool stopRequested_ = false;
    int waitDepth_ = 0;
    QVector<std::function<void()>> held_;
    bool heldScheduled_ = false;
    int failures_ = 0; // recoveries so far; drops the rest of a batch of held handlers
};

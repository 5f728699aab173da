#pragma once

#include "link/DeviceSession.h"
#include "link/TComPort.h"

#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <memory>

class CommandExchange;
class SerialDriver;
class Waits;

// The device session of the command line: the tool's serial port and command exchange, waits
// that a stop signal ends, and a status line on stderr (only when stderr is a terminal).
class ConsoleSession : public QObject, public DeviceSession {
    Q_OBJECT
public:
    struct Options {
        QString executableDir;                // where "ZEL ToolConfig.ini" is looked for
        QString port;                         // "COMn" or a device path; empty: the tool's
        int language = 0;                     // 0 German, 1 English, 2 French
        int replyTimeoutMs = 50000;           // tests shorten the reply wait
        double waitScale = 1.0;               // tests shorten every wait
        bool statusLine = false;              // show status and progress on `statusStream`
        std::FILE *statusStream = stderr;     // where the status line goes
        std::unique_ptr<SerialDriver> driver; // the serial line (a test double in tests)
    };

    explicit ConsoleSession(Options options);
    ~ConsoleSession() override;

    QString send(const QString &command) override;
    QString sendStep(const QString &command) override;
    QString sendUnabortable(const QString &command) override;
    void delay(int ms) override;
    void openPort() override;
    void closePort() override;
    bool portOpen() const override { return port_.connected(); }
    void setModemLines(bool dtr, bool rts) override {
        port_.setDTR(dtr);
        port_.setRTS(rts);
    }
    QString portSuffix() const override;
    bool abortRequested() const override { return abort_.load(); }
    void clearAbort() override { abort_ = false; }
    void setStatus(const QString &text) override;
    void startProgress(int maximum) override;
    void resetProgress() override;
    QString message(int entry) const override;
    int language() const override { return language_; }
    QChar decimalSeparator() const override { return separator_; }

    // The user asked to stop (Ctrl-C, SIGTERM): the running exchange ends after its reply and
    // every wait ends now.
    void requestAbort();
    // The status texts shown so far, in order (for the caller's messages and for tests).
    const QStringList &statusHistory() const { return history_; }
    // Ends the status line so the next output starts on a line of its own.
    void finishStatusLine();

    TComPort &port() { return port_; }

private:
    void drawStatusLine();

    TComPort port_;
    std::unique_ptr<CommandExchange> exchange_;
    QTimer waitTimer_;
    Waits *waits_ = nullptr;
    std::atomic<bool> abort_{false};
    int language_ = 0;
    double waitScale_ = 1.0;
    QChar separator_;
    bool statusLine_ = false;
    std::FILE *statusStream_ = stderr;
    bool lineOpen_ = false;
    QString status_;
    QStringList history_;
    int progress_ = 0;
    int progressMaximum_ = 0;
};

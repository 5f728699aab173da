#pragma once

// cli/: zelctl, the command-line front end: its runner on the terminal, the commands, checked
// output, the report and the teach run from a shell. zelctl links only the core (neither QtGui
// nor QtWidgets); zelctl-report, the same program with the drawing linked in, makes the report.

#include "link/DeviceRunner.h"

#include <QStringList>
#include <cstdio>
#include <memory>

class SerialDriver;

// The operation runner of the command line: the port named on the command line (or the tool
// settings file's, as the window uses it), and a status line on stderr when stderr is a
// terminal.
class ConsoleSession : private DeviceRunner::Feedback, public DeviceRunner {
public:
    struct Options {
        QString executableDir;                // where "ZEL ToolConfig.ini" is looked for
        QString port;                         // "COMn" or a device path; empty: the tool's
        bool portNamed = false;               // `port` was given on the command line
        int language = 0;                     // 0 German, 1 English, 2 French
        int replyTimeoutMs = 50000;           // tests shorten the reply wait
        double waitScale = 1.0;               // tests shorten every wait
        bool statusLine = false;              // show status and progress on `statusStream`
        std::FILE *statusStream = stderr;     // where the status line goes
        std::unique_ptr<SerialDriver> driver; // the serial line (a test double in tests)
    };

    explicit ConsoleSession(Options options);
    ~ConsoleSession() override;

    QString message(CatalogueEntry entry) const override;
    int language() const override { return language_; }
    QChar decimalSeparator() const override { return separator_; }
    // "(COM1 → /dev/ttyUSB0)": a script's user knows the device rather than the COM name.
    QString portSuffix() const override;
    // Takes a reply still owed before the port is closed.
    void closePort() override;

    // A stop signal (Ctrl-C, SIGTERM): the running exchange and every wait end now.
    void abortBySignal();
    // Where the tool settings file is looked for, and how much every wait is shortened.
    const QString &executableDir() const { return executableDir_; }
    double waitScale() const { return waitScale_; }
    // The status texts shown so far, in order.
    const QStringList &statusHistory() const { return history_; }
    // Ends the status line so the next output starts on a line of its own.
    void finishStatusLine();

private:
    void showStatus(const QString &text) override;
    QString shownStatus() const override { return status_; }
    void showProgressStart(int maximum) override;
    void showProgressStep() override;
    void showProgressReset() override;
    void drawStatusLine();

    int language_ = 0;
    QString executableDir_;
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

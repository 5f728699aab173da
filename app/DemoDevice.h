#pragma once

#include <QProcess>
#include <QString>

// The simulated device of a demo run: `zelsim --pty` as a child process, stopped with the tool.
class DemoDevice {
public:
    ~DemoDevice();

    // Starts the simulator found beside `executableDir` or on the PATH and returns the path of
    // its pseudo-terminal; an empty text and `error()` when it could not be started.
    QString start(const QString &executableDir);
    QString error() const { return error_; }

private:
    QProcess process_;
    QString error_;
};

#pragma once

#include <QProcess>
#include <QStringList>

// The programs as a script runs them: zelsim on a pseudo-terminal, zelctl against it.
struct ZelctlResult {
    int code = -1; // -1: no normal end within a minute
    QString out, err;
};

// Runs `zelctl --port PTY ARGUMENTS` and waits for its end.
inline ZelctlResult runZelctl(const QString &program, const QString &pty,
                              const QStringList &arguments) {
    QProcess process;
    process.start(program, QStringList{"--port", pty} + arguments);
    ZelctlResult result;
    if (!process.waitForFinished(60000))
        return result;
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// Starts `zelsim --pty --no-noise --log LOG OPTIONS` in `sim`; the path of its pseudo-terminal,
// or "" when it did not start.
inline QString startZelsim(QProcess &sim, const QString &program, const QString &log,
                           const QStringList &options) {
    sim.start(program, QStringList{"--pty", "--no-noise", "--log", log} + options);
    if (!sim.waitForStarted(5000))
        return QString();
    while (!sim.canReadLine()) {
        if (!sim.waitForReadyRead(5000))
            return QString();
    }
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

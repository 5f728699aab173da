#include "app/DemoDevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

DemoDevice::~DemoDevice() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(2000))
            process_.kill();
        process_.waitForFinished(1000);
    }
}

QString DemoDevice::start(const QString &executableDir) {
    QString program = QDir(executableDir).filePath(QStringLiteral("zelsim"));
    if (!QFileInfo(program).isExecutable())
        program = QStandardPaths::findExecutable(QStringLiteral("zelsim"));
    if (program.isEmpty()) {
        error_ = QStringLiteral("The device simulator zelsim was not found beside zeltool or on "
                                "the PATH.");
        return QString();
    }
    process_.setProgram(program);
    process_.setArguments({QStringLiteral("--pty"), QStringLiteral("--parent"),
                           QString::number(QCoreApplication::applicationPid())});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(5000)) {
        error_ = QStringLiteral("zelsim could not be started: ") + process_.errorString();
        return QString();
    }
    // The first line of its output is the terminal's path.
    while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
    }
    const QString path = QString::fromLocal8Bit(process_.readLine()).trimmed();
    if (path.isEmpty())
        error_ = QStringLiteral("zelsim did not report its pseudo-terminal.");
    return path;
}

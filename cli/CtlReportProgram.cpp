// The report command of zelctl: zelctl links no graphics library, which keeps every scripted
// call quick to start, so the report, which lays out and draws pages with QtGui, is made by
// zelctl-report (the same program with the drawing linked in), run in this process's place
// with the same arguments before anything is opened.
#include "cli/CtlCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

// Beside zelctl in the build tree; in the private program folder when installed.
QString reportProgram() {
    const QDir here(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral("zelctl-report");
    for (const QString &candidate :
         {here.filePath(name), here.filePath(QStringLiteral(ZELCTL_REPORT_DIR "/") + name)}) {
        const QFileInfo program(candidate);
        if (program.isFile() && program.isExecutable())
            return program.absoluteFilePath();
    }
    return {};
}

} // namespace

int CtlCommands::report(const CtlRequest &request) {
    const QString program = reportProgram();
    if (program.isEmpty()) {
        const QDir here(QCoreApplication::applicationDirPath());
        throw EFileError(
            QStringLiteral("the report needs zelctl-report, which is neither beside "
                           "zelctl nor in %1")
                .arg(QDir::cleanPath(here.filePath(QStringLiteral(ZELCTL_REPORT_DIR)))));
    }
    QList<QByteArray> arguments = request.commandLine;
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const QByteArray path = QFile::encodeName(program);
    ::execv(path.constData(), argv.data());
    throw EFileError(QStringLiteral("cannot start %1: %2")
                         .arg(program, QString::fromLocal8Bit(std::strerror(errno))));
}

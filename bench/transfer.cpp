// Transfer benchmark: a full load and a full send of the 50 settings against the simulator paced
// like a 9600-baud line, each reported as the ratio of elapsed time to the wire-time lower bound
// of the characters exchanged: the window's buttons, then "zelctl read" and "zelctl write" (whole
// process, start to exit) on the same simulator, then the start-to-exit time of
// "zelctl --version". Last the floor: the same lines replayed by a bare client (plain POSIX, no
// Qt) on the same pseudo-terminal, which is what the simulator and the terminal cost alone.
// Usage: bench_transfer [path-to-zelctl]
#include "app/TformMain.h"
#include "app/ZelApplication.h"
#include "sim/PtyDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr double kCharMs = 10.0 * 1000.0 / 9600.0;

class QuietPrompts : public UserPrompts {
public:
    void showError(QWidget *, const QString &text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    void showMessage(QWidget *, const QString &) override {}
};

// Wire-time lower bound of the exchanges logged so far: every command and reply with its CR.
double boundFromLog(const QString &path) {
    QFile log(path);
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    double chars = 0;
    for (const QByteArray &line : log.readAll().split('\n')) {
        const int arrow = line.indexOf(" <- ") >= 0 ? line.indexOf(" <- ") : line.indexOf(" -> ");
        if (arrow >= 0)
            chars += line.size() - (arrow + 4) + 1;
    }
    return chars * kCharMs;
}

void run(TformMain &window, sim::PtyDevice &device, const char *button, const QString &logPath,
         const char *what) {
    QFile::remove(logPath);
    device.setLogFile(logPath);
    QElapsedTimer clock;
    clock.start();
    window.findChild<QPushButton *>(QString::fromLatin1(button))->click();
    const double elapsed = clock.nsecsElapsed() / 1e6;
    const double bound = boundFromLog(logPath);
    std::printf("%-5s %7.1f ms, wire-time bound %7.1f ms, ratio %.4f  (%s)\n", what, elapsed, bound,
                bound > 0 ? elapsed / bound : 0.0, qPrintable(window.statusText()));
}

// Runs zelctl while this process keeps serving the simulator; returns the wall time in ms.
double runZelctl(const QString &zelctl, const QStringList &arguments, QString *error = nullptr) {
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    process.start(zelctl, arguments);
    loop.exec();
    const double elapsed = clock.nsecsElapsed() / 1e6;
    if (error && (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0))
        *error = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return elapsed;
}

void runCli(const QString &zelctl, const QStringList &arguments, sim::PtyDevice &device,
            const QString &logPath, const char *what) {
    QFile::remove(logPath);
    device.setLogFile(logPath);
    QString error;
    const double elapsed = runZelctl(zelctl, arguments, &error);
    const double bound = boundFromLog(logPath);
    std::printf("%-5s %7.1f ms, wire-time bound %7.1f ms, ratio %.4f  (zelctl%s%s)\n", what,
                elapsed, bound, bound > 0 ? elapsed / bound : 0.0, error.isEmpty() ? "" : ": ",
                qPrintable(error));
}

// The commands of a log, in order.
QList<QByteArray> commandsFromLog(const QString &path) {
    QFile log(path);
    QList<QByteArray> commands;
    if (!log.open(QIODevice::ReadOnly))
        return commands;
    for (const QByteArray &line : log.readAll().split('\n')) {
        const int arrow = line.indexOf(" <- ");
        if (arrow >= 0)
            commands.append(line.mid(arrow + 4));
    }
    return commands;
}

// Sends each command and waits for its reply's CR, nothing else; the simulator's thread serves
// the line meanwhile. Returns the wall time in ms, or -1 when the line failed.
double replayBare(const QString &pty, const QList<QByteArray> &commands) {
    const int fd = ::open(pty.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    QElapsedTimer clock;
    clock.start();
    bool ok = true;
    for (const QByteArray &command : commands) {
        const QByteArray line = command + '\r';
        ::tcflush(fd, TCIOFLUSH);
        ok = ok && ::write(fd, line.constData(), line.size()) == line.size();
        for (bool cr = false; ok && !cr;) {
            pollfd in{fd, POLLIN, 0};
            ok = ::poll(&in, 1, 3000) == 1;
            char buffer[256];
            const ssize_t n = ok ? ::read(fd, buffer, sizeof buffer) : 0;
            cr = n > 0 && std::memchr(buffer, '\r', size_t(n)) != nullptr;
        }
    }
    const double elapsed = clock.nsecsElapsed() / 1e6;
    ::close(fd);
    return ok ? elapsed : -1;
}

} // namespace

int main(int argc, char *argv[]) {
    ZelApplication app(argc, argv);
    QTemporaryDir dir;
    sim::PtyDevice device(0);
    const QString pty = device.start();
    device.setWireTime(true);
    const QString logPath = dir.filePath(QStringLiteral("exchange.log"));
    QFile settings(dir.filePath(QStringLiteral("ZEL ToolConfig.ini")));
    settings.open(QIODevice::WriteOnly);
    settings.write(("[Ports]\r\nCOM1=" + pty + "\r\n").toUtf8());
    settings.close();
    TformMain::Options options;
    options.executableDir = dir.path();
    options.prompts = std::make_shared<QuietPrompts>();
    TformMain window(std::move(options));
    for (int round = 0; round < 3; ++round) {
        run(window, device, "ButtonLaden", logPath, "load");
        run(window, device, "ButtonSenden", logPath, "send");
    }

    const QString zelctl = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QCoreApplication::applicationDirPath() + "/../zelctl";
    const QString file = dir.filePath(QStringLiteral("bench.zel"));
    for (int round = 0; round < 3; ++round) {
        runCli(zelctl, {"--port", pty, "read", "-o", file}, device, logPath, "read");
        runCli(zelctl, {"--port", pty, "write", file}, device, logPath, "write");
    }
    QVector<double> starts;
    for (int i = 0; i < 21; ++i)
        starts.append(runZelctl(zelctl, {"--version"}));
    std::sort(starts.begin(), starts.end());
    std::printf("zelctl --version: median %.1f ms, fastest %.1f ms, slowest %.1f ms\n",
                starts.at(starts.size() / 2), starts.first(), starts.last());
    // The floor: the write's lines (the last zelctl write is in the log) through a bare client.
    QFile::rename(logPath, logPath + ".write");
    const QList<QByteArray> commands = commandsFromLog(logPath + ".write");
    const double bound = boundFromLog(logPath + ".write");
    for (int round = 0; round < 3; ++round) {
        const double elapsed = replayBare(pty, commands);
        std::printf("bare  %7.1f ms, wire-time bound %7.1f ms, ratio %.4f  (%lld lines, no Qt: "
                    "the simulator's and the terminal's share)\n",
                    elapsed, bound, bound > 0 ? elapsed / bound : 0.0,
                    static_cast<long long>(commands.size()));
    }
    device.stop();
    return 0;
}

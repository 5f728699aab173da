// Exchange benchmark: N command/reply exchanges against `zelsim --wire-time` on a pseudo-terminal,
// through the tool's serial code and through a minimal termios client, each reported as the
// ratio of elapsed time to the wire-time lower bound of the same characters.
// Usage: bench_exchange [path-to-zelsim] [exchanges]
#include "link/CommandExchange.h"
#include "link/TComPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr double kCharMs = 10.0 * 1000.0 / 9600.0;
const char *const kCommands[] = {"?ScalPdown", "?WarnPHyst",     "?UnitP",
                                 "?MeasRange", ">SoundTime 500", "?DeviceAdr"};

struct Result {
    double elapsedMs = 0;
    double boundMs = 0;
};

Result runTool(const QString &pty, int exchanges) {
    TComPort port;
    port.setBindings({{QStringLiteral("COM1"), pty}});
    port.setPort(QStringLiteral("COM1"));
    CommandExchange::Hooks hooks;
    QString status;
    hooks.pumpMessages = [] { QCoreApplication::processEvents(); };
    hooks.abortRequested = [] { return false; };
    hooks.statusText = [&status] { return status; };
    hooks.setStatus = [&status](const QString &text) { status = text; };
    hooks.message = [](CatalogueEntry) { return QStringLiteral("failure"); };
    CommandExchange exchange(port, hooks);
    port.open();
    Result result;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < exchanges; ++i) {
        const QString command = QString::fromLatin1(kCommands[i % 6]);
        const QString reply = exchange.send(command);
        result.boundMs += (command.size() + 1 + reply.size() + 1) * kCharMs;
    }
    result.elapsedMs = clock.nsecsElapsed() / 1e6;
    port.close();
    return result;
}

Result runReference(const QString &pty, int exchanges) {
    Result result;
    const int fd = ::open(pty.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return result;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, B9600);
    tcsetattr(fd, TCSANOW, &tio);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < exchanges; ++i) {
        std::string line = std::string(kCommands[i % 6]) + "\r";
        tcflush(fd, TCIOFLUSH);
        if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            break;
        std::string reply;
        char c = 0;
        while (::read(fd, &c, 1) == 1 && c != '\r')
            reply += c;
        result.boundMs += (line.size() + reply.size() + 1) * kCharMs;
    }
    result.elapsedMs = clock.nsecsElapsed() / 1e6;
    ::close(fd);
    return result;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QString zelsim = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QCoreApplication::applicationDirPath() + "/../zelsim";
    const int exchanges = argc > 2 ? std::max(6, atoi(argv[2])) : 120;
    QProcess sim;
    sim.start(zelsim, {QStringLiteral("--pty"), QStringLiteral("--wire-time"),
                       QStringLiteral("--no-noise")});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(zelsim));
        return 1;
    }
    const QString pty = QString::fromLocal8Bit(sim.readLine()).trimmed();
    const Result reference = runReference(pty, exchanges);
    const Result tool = runTool(pty, exchanges);
    const double refRatio = reference.elapsedMs / reference.boundMs;
    const double toolRatio = tool.elapsedMs / tool.boundMs;
    std::printf("%d exchanges at 9600 baud wire time\n", exchanges);
    std::printf("reference termios client: %.1f ms, bound %.1f ms, ratio %.4f\n",
                reference.elapsedMs, reference.boundMs, refRatio);
    std::printf(
        "zeltool exchange:         %.1f ms, bound %.1f ms, ratio %.4f (%.2f%% vs reference)\n",
        tool.elapsedMs, tool.boundMs, toolRatio, 100.0 * (toolRatio / refRatio - 1.0));
    sim.terminate();
    sim.waitForFinished(2000);
    return 0;
}

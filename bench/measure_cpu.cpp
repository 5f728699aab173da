// CPU time of the tool over a running measurement against `zelsim --wire-time` in its own
// process: the window is driven as a user drives it (start, a real 1000 ms TimerMessung, stop).
// The same number of bare "?IP", "?IN1", "?IN2" exchanges is then timed through the tool's
// serial code alone, so the figure beyond the serial reads can be told apart.
// Usage: bench_measure_cpu [seconds (60)] [path-to-zelsim]
#include "app/TformMain.h"
#include "app/ZelApplication.h"
#include "base/UserPrompts.h"
#include "link/CommandExchange.h"
#include "link/TComPort.h"

#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class PrintingPrompts : public UserPrompts {
public:
    int errors = 0;
    void showError(QWidget *, const QString &text) override {
        ++errors;
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
};

// CPU seconds of `count` bare exchanges of the three poll commands.
double bareExchangesCpu(const QString &pty, int count) {
    TComPort port;
    port.setBindings({{QStringLiteral("COM1"), pty}});
    port.setPort(QStringLiteral("COM1"));
    CommandExchange::Hooks hooks;
    hooks.pumpMessages = [] { QCoreApplication::processEvents(); };
    hooks.abortRequested = [] { return false; };
    hooks.statusText = [] { return QString(); };
    hooks.setStatus = [](const QString &) {};
    hooks.message = [](CatalogueEntry) { return QStringLiteral("failure"); };
    CommandExchange exchange(port, hooks);
    port.open();
    const char *const commands[] = {"?IP", "?IN1", "?IN2"};
    const double before = processCpuSeconds();
    for (int i = 0; i < count; ++i)
        exchange.send(QString::fromLatin1(commands[i % 3]));
    const double cpu = processCpuSeconds() - before;
    port.close();
    return cpu;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ZelApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int seconds = args.size() > 1 ? args[1].toInt() : 60;
    const QString zelsim =
        args.size() > 2 ? args[2] : app.applicationDirPath() + QStringLiteral("/../zelsim");
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: bench_measure_cpu [seconds] [path-to-zelsim]\n");
        return 2;
    }

    QProcess sim;
    sim.start(zelsim, {QStringLiteral("--pty"), QStringLiteral("--wire-time")});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(zelsim));
        return 1;
    }
    const QString pty = QString::fromLocal8Bit(sim.readLine()).trimmed();

    QTemporaryDir dir;
    QFile settings(dir.filePath(QStringLiteral("ZEL ToolConfig.ini")));
    if (!settings.open(QIODevice::WriteOnly))
        return 1;
    settings.write(("[Ports]\r\nCOM1=" + pty + "\r\n").toUtf8());
    settings.close();

    auto prompts = std::make_shared<PrintingPrompts>();
    TformMain::Options options;
    options.executableDir = dir.path();
    options.prompts = prompts;
    int polls = 0;
    double measuringCpu = 0;
    double wallSeconds = 0;
    {
        TformMain window(std::move(options));
        window.show();
        QObject::connect(window.TimerMessung, &QTimer::timeout, [&polls] { ++polls; });
        auto *button = window.findChild<QPushButton *>(QStringLiteral("ButtonConnection"));
        button->click();
        const double before = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
        app.exec();
        measuringCpu = processCpuSeconds() - before;
        wallSeconds = wall.nsecsElapsed() / 1e9;
        button->click();
        std::printf("log lines: %d\n",
                    window.findChild<QListWidget *>(QStringLiteral("LLog"))->count());
    }
    const double serialCpu = bareExchangesCpu(pty, 3 * polls);
    sim.kill();
    sim.waitForFinished(2000);

    const double percent = 100.0 * measuringCpu / wallSeconds;
    const double serialPercent = 100.0 * serialCpu / wallSeconds;
    std::printf("measurement: %.1f s, %d polls, %d errors\n", wallSeconds, polls, prompts->errors);
    std::printf("tool CPU: %.3f s = %.3f %% of one core\n", measuringCpu, percent);
    std::printf("the same %d exchanges alone: %.3f s = %.3f %%\n", 3 * polls, serialCpu,
                serialPercent);
    std::printf("beyond the serial reads: %.3f %% of one core (goal: under 1 %%)\n",
                percent - serialPercent);
    return prompts->errors == 0 ? 0 : 1;
}

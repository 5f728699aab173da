#include "app/DemoBench.h"
#include "app/DemoDevice.h"
#include "app/TformMain.h"
#include "app/ZelApplication.h"

#include <QCommandLineParser>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// For the start-up benchmark: the window has been shown and its first events handled.
void reportStartupAndQuit(QCoreApplication &app) {
    QFile status(QStringLiteral("/proc/self/status"));
    QString rss = QStringLiteral("?");
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                rss = QString::fromLatin1(line.mid(6).simplified());
        }
    }
    std::printf("shown rss=%s\n", qPrintable(rss));
    std::fflush(stdout);
    app.quit();
}

// The options of the tool; the same for a run without a display (--help, --version).
struct Options {
    QCommandLineOption production{QStringLiteral("production"),
                                  QStringLiteral("Show the teach features for production staff.")};
    QCommandLineOption demo{QStringLiteral("demo"),
                            QStringLiteral("Try the tool without hardware: start the device "
                                           "simulator zelsim and use it for this run only. With "
                                           "--production the simulated device and the simulated "
                                           "bench instruments run inside the tool, so a whole "
                                           "teach run can be tried.")};
    QCommandLineOption measureStartup{
        QStringLiteral("measure-startup"),
        QStringLiteral("Print the resident memory once the window is shown, then quit.")};

    void addTo(QCommandLineParser &parser) const {
        parser.setApplicationDescription(QStringLiteral(
            "ZEL 40 / ZEL 80 commissioning tool: read, edit and write device settings, "
            "watch live values, zero, reset and re-calibrate."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({production, demo, measureStartup});
    }
};

void setNames() {
    QCoreApplication::setApplicationName(QStringLiteral("zeltool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELTOOL_VERSION));
}

// Help and version are printed without a window system, so they work over ssh and in scripts.
bool onlyPrints(int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all" ||
            arg == "--version" || arg == "-v")
            return true;
    }
    return false;
}

// SIGTERM, SIGINT and SIGHUP end the tool as closing its window does: a running wait ends, the
// port is closed, and the simulator of a demo run is stopped. The handler only writes to a
// pipe; the event loop does the rest. Installed before the simulator starts and the window is
// built, so a signal during the start-up also ends the tool cleanly, once the loop runs.
int signalPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

void endOnStopSignals(QApplication &app) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        QApplication::closeAllWindows();
        app.quit();
    });
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace

int main(int argc, char *argv[]) {
    const Options cli;
    if (onlyPrints(argc, argv)) {
        QCoreApplication app(argc, argv);
        setNames();
        QCommandLineParser parser;
        cli.addTo(parser);
        parser.process(app); // prints and exits
        return 0;
    }

    ZelApplication app(argc, argv);
    setNames();
    QCommandLineParser parser;
    cli.addTo(parser);
    parser.process(app);
    endOnStopSignals(app);

    TformMain::Options options;
    options.production = parser.isSet(cli.production);
    DemoDevice demoDevice;
    std::unique_ptr<DemoBench> demoBench;
    if (parser.isSet(cli.demo)) {
        if (options.production) {
            // The teach run needs the bench instruments acting on the device: both run here.
            demoBench = std::make_unique<DemoBench>();
            options.portDeviceOverride = demoBench->start();
            options.driver = demoBench->driver();
            options.instrumentBench = demoBench->bench();
            options.demoInstruments = demoBench->instrumentSettings();
        } else {
            options.portDeviceOverride = demoDevice.start(QCoreApplication::applicationDirPath());
        }
        if (options.portDeviceOverride.isEmpty()) {
            std::fprintf(stderr, "zeltool: %s\n",
                         qPrintable(demoBench ? demoBench->error() : demoDevice.error()));
            return 1;
        }
        options.simulatedDevice = QStringLiteral("simulated device (demo)");
    }
    TformMain window(std::move(options));
    window.show();
    if (parser.isSet(cli.measureStartup))
        QTimer::singleShot(0, &app, [&app] { reportStartupAndQuit(app); });
    return app.exec();
}

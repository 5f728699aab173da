#include "app/DemoDevice.h"
#include "app/TformMain.h"
#include "app/ZelApplication.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTimer>
#include <cstdio>

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

} // namespace

int main(int argc, char *argv[]) {
    ZelApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zeltool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELTOOL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("ZEL 40 / ZEL 80 commissioning tool: read, edit and write device settings, "
                       "watch live values, zero, reset and re-calibrate."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption production(QStringLiteral("production"),
                                  QStringLiteral("Show the teach features for production staff."));
    parser.addOption(production);
    QCommandLineOption demo(QStringLiteral("demo"),
                            QStringLiteral("Try the tool without hardware: start the device "
                                           "simulator zelsim and use it for this run only."));
    parser.addOption(demo);
    QCommandLineOption measureStartup(
        QStringLiteral("measure-startup"),
        QStringLiteral("Print the resident memory once the window is shown, then quit."));
    parser.addOption(measureStartup);
    parser.process(app);

    TformMain::Options options;
    options.production = parser.isSet(production);
    DemoDevice demoDevice;
    if (parser.isSet(demo)) {
        options.portDeviceOverride = demoDevice.start(QCoreApplication::applicationDirPath());
        if (options.portDeviceOverride.isEmpty()) {
            std::fprintf(stderr, "zeltool: %s\n", qPrintable(demoDevice.error()));
            return 1;
        }
        options.simulatedDevice = QStringLiteral("simulated device (demo)");
    }
    TformMain window(std::move(options));
    window.show();
    if (parser.isSet(measureStartup))
        QTimer::singleShot(0, &app, [&app] { reportStartupAndQuit(app); });
    return app.exec();
}

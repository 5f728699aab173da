#include "app/TformMain.h"
#include "app/DemoDevice.h"
#include "app/ZelApplication.h"

#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char *argv[])
{
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
    return app.exec();
}

#include "app/TformMain.h"
#include "app/ZelApplication.h"

#include <QCommandLineParser>

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
    parser.process(app);

    TformMain::Options options;
    options.production = parser.isSet(production);
    TformMain window(std::move(options));
    window.show();
    return app.exec();
}

// Transfer benchmark: a full load and a full send of the 50 settings against the simulator paced
// like a 9600-baud line, each reported as the ratio of elapsed time to the wire-time lower bound
// of the characters exchanged.
#include "app/TformMain.h"
#include "app/ZelApplication.h"
#include "sim/PtyDevice.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

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
    device.stop();
    return 0;
}

// Event-loop stall benchmark: the longest gap between two beats of a 10 ms timer on the window's
// thread while the window (a) loads all settings from the simulator paced like a 9600-baud line,
// (b) loads from a device that answers nothing (two reply time-outs, shortened to 2 s),
// (c) runs a measurement, (d) runs a whole teach run against the simulated instruments; then the
// time from a click on the abort control, made during a silent reply wait, until the window is
// idle again (error shown, controls restored). Usage: bench_stalls [measurement seconds, 60]
#include "app/TformMain.h"
#include "app/ZelApplication.h"
#include "sim/PtyDevice.h"
#include "tests/support/TestPrompts.h"
#include "tests/teach/test_teachrun_fixture.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

// Records the longest time between two beats while it runs.
class Heartbeat {
public:
    Heartbeat() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { beat(); });
    }
    void start() {
        worst_ = 0;
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    double stop() {
        beat();
        timer_.stop();
        return worst_;
    }

private:
    void beat() {
        const double now = clock_.nsecsElapsed() / 1e6;
        worst_ = qMax(worst_, now - last_);
        last_ = now;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    double last_ = 0;
    double worst_ = 0;
};

class TimedPrompts : public TestPrompts {
public:
    std::function<void()> onError;
    void showError(QWidget *parent, const QString &text) override {
        TestPrompts::showError(parent, text);
        if (onError)
            onError();
    }
};

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct DeviceWindow {
    QTemporaryDir dir;
    sim::PtyDevice device{0};
    std::shared_ptr<TimedPrompts> prompts = std::make_shared<TimedPrompts>();
    std::unique_ptr<TformMain> window;

    explicit DeviceWindow(int replyTimeoutMs) {
        const QString pty = device.start();
        device.setWireTime(true);
        QFile settings(dir.filePath(QStringLiteral("ZEL ToolConfig.ini")));
        settings.open(QIODevice::WriteOnly);
        settings.write(("[Ports]\r\nCOM1=" + pty + "\r\n").toUtf8());
        settings.close();
        TformMain::Options options;
        options.executableDir = dir.path();
        options.replyTimeoutMs = replyTimeoutMs;
        options.prompts = prompts;
        window = std::make_unique<TformMain>(std::move(options));
        window->show();
        // The first paint of a new window is no wait of the device.
        runFor(300);
    }
    QPushButton *button(const char *name) {
        return window->findChild<QPushButton *>(QString::fromLatin1(name));
    }
};

void report(const char *what, double stallMs, const QString &outcome) {
    std::printf("%-34s longest stall %8.1f ms  (%s)\n", what, stallMs, qPrintable(outcome));
    std::fflush(stdout);
}

// Clicks the abort control `abortButton` `afterMs` after `start` began a wait on a silent device;
// returns the time from the click's moment to the error being shown. A window that cannot take
// the click then takes it late, and the user waits from the moment they clicked.
void abortToIdle(DeviceWindow &w, const std::function<void()> &start, const char *abortButton,
                 int afterMs, const char *what) {
    QElapsedTimer clock;
    double idleAt = -1;
    w.prompts->errors.clear();
    w.prompts->onError = [&] { idleAt = clock.nsecsElapsed() / 1e6; };
    QTimer::singleShot(afterMs, [&] { QTest::mouseClick(w.button(abortButton), Qt::LeftButton); });
    clock.start();
    start();
    while (idleAt < 0 && clock.elapsed() < 20000)
        runFor(5);
    w.prompts->onError = nullptr;
    const bool restored = w.button("ButtonLaden")->isEnabled();
    std::printf("abort-to-idle, %-24s %8.1f ms  (\"%s\", controls %s)\n", what, idleAt - afterMs,
                qPrintable(w.prompts->errors.value(0)), restored ? "restored" : "LOCKED");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[]) {
    ZelApplication app(argc, argv);
    const int measureSeconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 60;
    Heartbeat heartbeat;

    {
        DeviceWindow w(50000);
        for (int round = 1; round <= 3; ++round) {
            heartbeat.start();
            QTest::mouseClick(w.button("ButtonLaden"), Qt::LeftButton);
            report(qPrintable(QStringLiteral("(a) load, 9600-baud simulator, #%1").arg(round)),
                   heartbeat.stop(), w.window->statusText());
        }

        heartbeat.start();
        QTest::mouseClick(w.button("ButtonConnection"), Qt::LeftButton);
        runFor(measureSeconds * 1000);
        QTest::mouseClick(w.button("ButtonConnection"), Qt::LeftButton);
        runFor(100);
        report(qPrintable(QStringLiteral("(c) measurement, %1 s").arg(measureSeconds)),
               heartbeat.stop(), w.prompts->errors.value(0, w.window->statusText()));
    }
    {
        DeviceWindow w(2000);
        w.device.addFault(sim::FaultRule::onCommandNumber(1, sim::FaultRule::Kind::Silence,
                                                          sim::FaultRule::Always));
        heartbeat.start();
        QTest::mouseClick(w.button("ButtonLaden"), Qt::LeftButton);
        report("(b) load, silent device (2 x 2 s)", heartbeat.stop(), w.prompts->errors.value(0));

        abortToIdle(
            w, [&] { QTest::mouseClick(w.button("ButtonLaden"), Qt::LeftButton); },
            "ButtonAbortConfig", 500, "load");
        // A measurement's poll waiting on the silent device, stopped by its button.
        w.device.clearFaults();
        QTest::mouseClick(w.button("ButtonConnection"), Qt::LeftButton);
        w.device.addFault(sim::FaultRule::onCommandNumber(1, sim::FaultRule::Kind::Silence,
                                                          sim::FaultRule::Always));
        abortToIdle(
            w, [] {}, "ButtonConnection", 1500, "measurement");
    }
    {
        TeachRunFixture::Config config;
        config.waitScale = 0.05;
        TeachRunFixture fx(config);
        fx.chooseGroups(TeachRunFixture::AllGroups);
        heartbeat.start();
        QTest::mouseClick(fx.ctl<QPushButton>("ButtonTeach"), Qt::LeftButton);
        report("(d) teach run, waits x 0.05", heartbeat.stop(), fx.status());
    }
    return 0;
}

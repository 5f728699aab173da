#pragma once

#include "app/TformMain.h"
#include "sim/PtyDevice.h"
#include "tests/support/TestPrompts.h"

#include <QTemporaryDir>
#include <memory>

class QPushButton;

// A main window talking to the device simulator over a real pseudo-terminal bound to COM1,
// with its tool settings file in a temporary folder, short reply time-outs and waits, and
// prompts answered by the test.
class WindowFixture {
public:
    struct Config {
        int measRange = 0; // the simulator's variant: 0 = +-250 Pa, 1 = +-100 Pa
        int replyTimeoutMs = 300;
        double waitScale = 0.01;
        bool production = false;
        bool startDevice = true; // false: COM1 bound to a path where nothing answers
        QString extraSettings;   // more lines for "ZEL ToolConfig.ini"
    };

    WindowFixture();
    explicit WindowFixture(const Config &config);
    ~WindowFixture();

    TformMain &window() { return *window_; }
    sim::PtyDevice &device() { return *device_; }
    TestPrompts &prompts() { return *prompts_; }
    QString dir() const { return dir_.path(); }
    QString settingsPath() const;

    // Creates the window anew (the tool restarted) with the same settings folder.
    void restart();
    // Clicks a button of the window by objectName; fails the test's QVERIFY when it is missing.
    void click(const QString &button);
    QString status() const;
    QStringList commands() const { return device_->commandLog(); }

    template <class T> T *ctl(const QString &name) { return window_->ctl<T>(name); }

private:
    void createWindow();

    Config config_;
    QTemporaryDir dir_;
    std::unique_ptr<sim::PtyDevice> device_;
    std::shared_ptr<TestPrompts> prompts_;
    std::unique_ptr<TformMain> window_;
};

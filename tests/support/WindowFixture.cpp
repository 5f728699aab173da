#include "tests/support/WindowFixture.h"

#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <stdexcept>

WindowFixture::WindowFixture() : WindowFixture(Config()) {}

WindowFixture::WindowFixture(const Config &config)
    : config_(config), device_(std::make_unique<sim::PtyDevice>(config.measRange)),
      prompts_(std::make_shared<TestPrompts>()) {
    const QString port =
        config_.startDevice ? device_->start() : dir_.filePath(QStringLiteral("no-such-tty"));
    QFile file(settingsPath());
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the test's tool settings file");
    file.write(("[Ports]\r\nCOM1=" + port + "\r\n" + config_.extraSettings).toUtf8());
    file.close();
    createWindow();
}

WindowFixture::~WindowFixture() {
    window_.reset();
    device_->stop();
}

QString WindowFixture::settingsPath() const {
    return dir_.filePath(QStringLiteral("ZEL ToolConfig.ini"));
}

void WindowFixture::createWindow() {
    TformMain::Options options;
    options.executableDir = dir_.path();
    options.replyTimeoutMs = config_.replyTimeoutMs;
    options.waitScale = config_.waitScale;
    options.prompts = prompts_;
    options.production = config_.production;
    window_ = std::make_unique<TformMain>(std::move(options));
    window_->show();
}

void WindowFixture::restart() {
    window_.reset();
    createWindow();
}

void WindowFixture::click(const QString &button) {
    QPushButton *widget = window_->findChild<QPushButton *>(button);
    if (!widget)
        throw std::logic_error("no button " + button.toStdString());
    widget->click();
}

QString WindowFixture::status() const {
    return window_->Status->currentMessage();
}

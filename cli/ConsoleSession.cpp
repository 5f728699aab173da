#include "cli/ConsoleSession.h"

#include "app/NumberText.h"
#include "app/ToolSettings.h"
#include "i18n/MessageCatalogue.h"
#include "link/SerialDriver.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
DeviceRunner::Options runnerOptions(ConsoleSession::Options &options) {
    DeviceRunner::Options runner;
    runner.replyTimeoutMs = options.replyTimeoutMs;
    runner.waitScale = options.waitScale;
    runner.driver = std::move(options.driver);
    return runner;
}
} // namespace

ConsoleSession::ConsoleSession(Options options)
    : DeviceRunner(runnerOptions(options), *this), language_(options.language),
      executableDir_(options.executableDir), waitScale_(options.waitScale),
      separator_(NumberText::localDecimalSeparator(QLocale::system())),
      statusLine_(options.statusLine), statusStream_(options.statusStream) {
    // The port as the window would use it: the COM name of the tool settings file and its
    // bound devices; a device given by path is bound to that COM name for this run only.
    const ToolSettings settings(options.executableDir);
    QMap<QString, QString> bindings = settings.portBindings();
    static const QRegularExpression comName(QStringLiteral("^com\\d+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (options.port.isEmpty()) {
        port().setPort(settings.comPort());
    } else if (comName.match(options.port).hasMatch()) {
        port().setPort(options.port);
    } else {
        port().setPort(settings.comPort());
        bindings.insert(port().port(), options.port);
    }
    port().setBindings(bindings);
}

ConsoleSession::~ConsoleSession() {
    finishStatusLine();
    try {
        closePort();
    } catch (...) {
        // Closing a port that is gone has nothing left to do.
    }
}

QString ConsoleSession::portSuffix() const {
    return QStringLiteral(" (") + port().port() + QStringLiteral(" → ") + port().devicePath() +
           QLatin1Char(')');
}

void ConsoleSession::abortBySignal() {
    requestAbort();
}

void ConsoleSession::showStatus(const QString &text) {
    status_ = text;
    if (history_.isEmpty() || history_.constLast() != text)
        history_.append(text);
    drawStatusLine();
}

void ConsoleSession::showProgressStart(int maximum) {
    progressMaximum_ = maximum;
    progress_ = 0;
    drawStatusLine();
}

void ConsoleSession::showProgressStep() {
    ++progress_;
    drawStatusLine();
}

void ConsoleSession::showProgressReset() {
    progress_ = 0;
    progressMaximum_ = 0;
    drawStatusLine();
}

QString ConsoleSession::message(int entry) const {
    return MessageCatalogue::text(entry, language_);
}

void ConsoleSession::drawStatusLine() {
    if (!statusLine_)
        return;
    QString line = status_;
    if (progressMaximum_ > 0)
        line += QStringLiteral("  [%1/%2]")
                    .arg(qMin(progress_, progressMaximum_))
                    .arg(progressMaximum_);
    // Carriage return and "erase to end of line": the line is redrawn in place.
    std::fprintf(statusStream_, "\r%s\033[K", line.toLocal8Bit().constData());
    std::fflush(statusStream_);
    lineOpen_ = true;
}

void ConsoleSession::finishStatusLine() {
    if (!lineOpen_)
        return;
    std::fputc('\n', statusStream_);
    std::fflush(statusStream_);
    lineOpen_ = false;
}

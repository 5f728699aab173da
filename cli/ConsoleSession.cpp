#include "cli/ConsoleSession.h"

#include "app/NumberText.h"
#include "app/ToolSettings.h"
#include "app/Waits.h"
#include "i18n/MessageCatalogue.h"
#include "link/CommandExchange.h"
#include "link/SerialDriver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QRegularExpression>

ConsoleSession::ConsoleSession(Options options)
    : port_(std::move(options.driver)), language_(options.language), waitScale_(options.waitScale),
      separator_(NumberText::localDecimalSeparator(QLocale::system())),
      statusLine_(options.statusLine), statusStream_(options.statusStream) {
    // The port as the window would use it: the COM name of the tool settings file and its
    // bound devices; a device given by path is bound to that COM name for this run only.
    const ToolSettings settings(options.executableDir);
    QMap<QString, QString> bindings = settings.portBindings();
    static const QRegularExpression comName(QStringLiteral("^com\\d+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (options.port.isEmpty()) {
        port_.setPort(settings.comPort());
    } else if (comName.match(options.port).hasMatch()) {
        port_.setPort(options.port);
    } else {
        port_.setPort(settings.comPort());
        bindings.insert(port_.port(), options.port);
    }
    port_.setBindings(bindings);

    waits_ = new Waits(&waitTimer_, this);
    CommandExchange::Hooks hooks;
    hooks.pumpMessages = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    hooks.abortRequested = [this] { return abort_.load(); };
    hooks.statusText = [this] { return status_; };
    hooks.setStatus = [this](const QString &text) { setStatus(text); };
    hooks.message = [this](int entry) { return message(entry); };
    exchange_ = std::make_unique<CommandExchange>(port_, hooks, options.replyTimeoutMs);
}

ConsoleSession::~ConsoleSession() {
    finishStatusLine();
    try {
        port_.close();
    } catch (...) {
        // Closing a port that is gone has nothing left to do.
    }
}

QString ConsoleSession::send(const QString &command) {
    return exchange_->send(command);
}

QString ConsoleSession::sendStep(const QString &command) {
    const QString reply = exchange_->send(command);
    ++progress_;
    drawStatusLine();
    return reply;
}

QString ConsoleSession::sendUnabortable(const QString &command) {
    return exchange_->send(command, false);
}

void ConsoleSession::delay(int ms) {
    if (abort_)
        return;
    waits_->wait(qMax(0, static_cast<int>(ms * waitScale_)));
}

void ConsoleSession::openPort() {
    port_.open();
    port_.setEventChar('\r');
}

void ConsoleSession::closePort() {
    port_.close();
}

QString ConsoleSession::portSuffix() const {
    const QString device = port_.devicePath();
    return QStringLiteral(" (") + port_.port() + QStringLiteral(" → ") + device + QLatin1Char(')');
}

void ConsoleSession::requestAbort() {
    abort_ = true;
    waits_->endAll();
}

void ConsoleSession::setStatus(const QString &text) {
    status_ = text;
    if (history_.isEmpty() || history_.constLast() != text)
        history_.append(text);
    drawStatusLine();
}

void ConsoleSession::startProgress(int maximum) {
    progressMaximum_ = maximum;
    progress_ = 0;
    drawStatusLine();
}

void ConsoleSession::resetProgress() {
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

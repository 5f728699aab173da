#include "cli/ConsoleSession.h"

#include "base/NumberText.h"
#include "base/ToolSettings.h"
#include "cli/CtlCommands.h"
#include "cli/CtlOutput.h"
#include "i18n/MessageCatalogue.h"
#include "link/NetSerialDriver.h"
#include "link/SerialDriver.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <cerrno>
#include <sys/stat.h>

namespace {

// A port named on the command line is taken as it stands: the fallback to COM1 is for the name
// in the tool settings file, and a mistyped name must not reach the device on COM1.
void checkNamedPort(const QString &port, const QRegularExpression &comName) {
    const QRegularExpressionMatch com = comName.match(port);
    if (com.hasMatch()) {
        const int number = com.captured(1).toInt();
        if (number < 1 || number > 16)
            throw ECtlUsage(
                QStringLiteral("--port \"%1\": the COM names are COM1 to COM16").arg(port));
        return;
    }
    // A device server's address is checked when it is connected to.
    if (NetSerialDriver::isNetworkAddress(port))
        return;
    // The serial port takes a name without a folder (ttyUSB0) in /dev.
    const bool bare = !port.startsWith(QLatin1Char('/')) && !port.startsWith(QLatin1String("./")) &&
                      !port.startsWith(QLatin1String("../"));
    const QString path = bare ? QStringLiteral("/dev/") + port : port;
    struct stat device {};
    const bool found = !port.isEmpty() && ::stat(QFile::encodeName(path).constData(), &device) == 0;
    const QString reason = port.isEmpty() ? QStringLiteral("empty")
                           : found        ? QStringLiteral("not a character device")
                                          : qt_error_string(errno);
    if (!found || !S_ISCHR(device.st_mode))
        throw ECtlUsage(QStringLiteral("--port \"%1\": neither COM1 to COM16 nor a device (%2)")
                            .arg(port, reason));
}

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
    static const QRegularExpression comName(QStringLiteral("^com(\\d+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (options.portNamed)
        checkNamedPort(options.port, comName);
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

// zelctl gives the line up when its command ends, and a script may start the next zelctl on it
// at once: a reply the device still owes (a stop signal ended its wait) is taken first, at most
// until its time-out; a second stop signal ends this wait with the program.
void ConsoleSession::closePort() {
    if (portOpen())
        takeOwedReply();
    DeviceRunner::closePort();
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

QString ConsoleSession::message(CatalogueEntry entry) const {
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
    std::fprintf(statusStream_, "\r%s\033[K", CtlOutput::escaped(line).toLocal8Bit().constData());
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

#include "link/CommandExchange.h"

#include "base/Errors.h"
#include "link/EComPort.h"
#include "link/TComPort.h"
#include "link/WireText.h"

namespace {
constexpr int kMaxReplyChars = 1024;
} // namespace

CommandExchange::CommandExchange(TComPort &port, Hooks hooks, int replyTimeoutMs)
    : port_(port), hooks_(std::move(hooks)), timeoutMs_(replyTimeoutMs) {}

QString CommandExchange::send(const QString &command, bool abortable) {
    QString reply = QStringLiteral("Err");
    int failures = 0;
    int errReplies = 0;
    const QString rememberedStatus = hooks_.statusText();
    const QString line = command.left(kCommandLimit);
    // The callers check their values first; this is the last guard before the wire.
    if (!WireText::isSafe(line))
        throw EUnsafeValue(WireText::commandName(line));

    const auto whileWaiting = [this] {
        hooks_.pumpMessages();
        return hooks_.abortRequested();
    };
    while (reply == QLatin1String("Err")) {
        // Messages first, then the buffers are cleared: whatever arrived before the line went
        // out is never taken for its reply.
        hooks_.pumpMessages();
        dropOwedReply(whileWaiting);
        port_.clearBuffer(true, true);
        port_.writeStr(line + QLatin1Char('\r'));
        owedUntil_.setRemainingTime(timeoutMs_);
        if (waitForCr(timeoutMs_, whileWaiting)) {
            owedUntil_ = QDeadlineTimer();
            reply = port_.readStr(kMaxReplyChars);
            reply.chop(1);
            if (reply.isEmpty()) {
                if (++failures >= 2)
                    failExchange();
            } else {
                hooks_.setStatus(rememberedStatus);
            }
            if (reply == QLatin1String("Err") && !abortable && ++errReplies >= kUnabortableErrLimit)
                failExchange();
        } else {
            // A wait the user ended is no silent device: no time-out is counted or shown, and
            // the reply is still owed.
            if (hooks_.abortRequested())
                throw EGlobalError(hooks_.message(CatalogueEntry::AbortByUser));
            owedUntil_ = QDeadlineTimer();
            hooks_.setStatus(withPort(hooks_.message(CatalogueEntry::ConnectionProblem)));
            if (++failures >= 2)
                failExchange();
            reply = QStringLiteral("Err");
        }
        if (hooks_.abortRequested())
            throw EGlobalError(hooks_.message(CatalogueEntry::AbortByUser));
    }
    return reply;
}

void CommandExchange::dropOwedReply(const std::function<bool()> &whileWaiting) {
    if (!replyOwed())
        return;
    if (!port_.connected())
        return; // kept for when the port is open again
    const int left = int(qMax<qint64>(0, owedUntil_.remainingTime()));
    const bool arrived = waitForCr(left, whileWaiting);
    if (!arrived && hooks_.abortRequested())
        throw EGlobalError(hooks_.message(CatalogueEntry::AbortByUser));
    if (arrived)
        port_.readStr(kMaxReplyChars);
    owedUntil_ = QDeadlineTimer();
}

bool CommandExchange::waitForCr(int timeoutMs, const std::function<bool()> &whileWaiting) {
    try {
        return port_.waitForEventChar(timeoutMs, whileWaiting);
    } catch (const EComPort &) {
        // The line itself failed: no reply can come through it any more.
        owedUntil_ = QDeadlineTimer();
        throw;
    }
}

void CommandExchange::takeOwedReply() {
    dropOwedReply([this] {
        hooks_.pumpMessages();
        return false;
    });
}

void CommandExchange::failExchange() {
    const QString text = withPort(hooks_.message(CatalogueEntry::ExchangeError));
    hooks_.setStatus(text);
    throw EGlobalError(text);
}

QString CommandExchange::withPort(const QString &text) const {
    return text + QStringLiteral(" (") + port_.port() + QLatin1Char(')');
}

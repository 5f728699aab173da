#pragma once

#include "i18n/CatalogueEntry.h"

#include <QDeadlineTimer>
#include <QString>
#include <functional>

class TComPort;

// One command line out, one reply line back, with the resend on "Err", the two-failure rule,
// the status texts and the user abort. Never opens or closes the port.
class CommandExchange {
public:
    struct Hooks {
        // Before each line is written, and every few milliseconds while a reply is awaited:
        // the front end keeps painting and its abort control keeps working.
        std::function<void()> pumpMessages;
        std::function<bool()> abortRequested;
        std::function<QString()> statusText;
        std::function<void(const QString &)> setStatus;
        std::function<QString(CatalogueEntry)> message; // catalogue text in the current language
    };

    static constexpr int kCommandLimit = 39;
    static constexpr int kReplyTimeoutMs = 50000;
    // Where no abort control is offered, a device answering "Err" forever would keep the
    // exchange resending without end; this many consecutive "Err" replies end it as a failure.
    static constexpr int kUnabortableErrLimit = 100;

    CommandExchange(TComPort &port, Hooks hooks, int replyTimeoutMs = kReplyTimeoutMs);

    // Sends one command and returns the reply without its CR. Throws EGlobalError on a link
    // failure or a user abort, EComPort on a port failure, EUnsafeValue (before anything is
    // written) for a command holding a control character. With `abortable` false the resends
    // on "Err" are bounded by kUnabortableErrLimit.
    QString send(const QString &command, bool abortable = true);

    int replyTimeoutMs() const { return timeoutMs_; }
    // A reply the device still owes for a line whose wait was given up (an abort, a port
    // failure while waiting) and whose reply time-out has not passed yet.
    bool replyOwed() const { return !owedUntil_.hasExpired(); }
    // Takes and drops the owed reply now, until it is in or its time-out has passed, whatever
    // the abort request says: for a program that ends after an abort, so that the next program
    // on the line does not take the reply for its own.
    void takeOwedReply();

private:
    // Takes and drops the owed reply before a new line goes out, until its CR arrives or its
    // time-out passes; an abort meanwhile ends the exchange and the reply stays owed.
    void dropOwedReply(const std::function<bool()> &whileWaiting);
    // The port's wait for the CR of a reply; a port failure leaves no reply owed.
    bool waitForCr(int timeoutMs, const std::function<bool()> &whileWaiting);
    [[noreturn]] void failExchange();
    QString withPort(const QString &text) const;

    TComPort &port_;
    Hooks hooks_;
    int timeoutMs_;
    // When the reply of the last line given up is no longer awaited; expired when none is owed.
    QDeadlineTimer owedUntil_;
};

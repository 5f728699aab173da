#pragma once

#include "base/Errors.h"

// A failure of the serial port. The message is the failing operation's text followed by
// " (win error code: %d)" with the system's error number and the system's own reason.
class EComPort : public EZelError {
public:
    EComPort(const QString &operationText, int errorCode, const QString &reason = QString());

    static QString compose(const QString &operationText, int errorCode, const QString &reason);

    // The same failure, naming where it happened ("COM5 → /dev/ttyS4") before the reason.
    EComPort at(const QString &place) const;

private:
    QString operationText_;
    int errorCode_;
    QString reason_;
};

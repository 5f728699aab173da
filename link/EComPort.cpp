#include "link/EComPort.h"

EComPort::EComPort(const QString &operationText, int errorCode, const QString &reason)
    : EZelError(compose(operationText, errorCode, reason)), operationText_(operationText),
      errorCode_(errorCode), reason_(reason) {}

EComPort EComPort::at(const QString &place) const {
    return EComPort(operationText_, errorCode_,
                    reason_.isEmpty() ? place : place + QStringLiteral(": ") + reason_);
}

QString EComPort::compose(const QString &operationText, int errorCode, const QString &reason) {
    QString text = operationText + QStringLiteral(" (win error code: %1)").arg(errorCode);
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return text;
}

#include "link/EComPort.h"

EComPort::EComPort(const QString &operationText, int errorCode, const QString &reason)
    : EZelError(compose(operationText, errorCode, reason)) {}

QString EComPort::compose(const QString &operationText, int errorCode, const QString &reason) {
    QString text = operationText + QStringLiteral(" (win error code: %1)").arg(errorCode);
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return text;
}

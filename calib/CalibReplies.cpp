#include "calib/CalibReplies.h"

#include "base/NumberText.h"

namespace CalibReplies {

namespace {
constexpr int kRawMax = 65535;

const QString kCmdNotExist = QStringLiteral("Err_CmdNotExist");
const QString kOk = QStringLiteral("OK");

QString without(QString reply, const QString &name) {
    return reply.remove(name);
}
} // namespace

CatalogueEntry pressureRequestEntry(bool negative, bool range100) {
    if (negative)
        return range100 ? CatalogueEntry::ApplyMinus100Pa : CatalogueEntry::ApplyMinus250Pa;
    return range100 ? CatalogueEntry::ApplyPlus100Pa : CatalogueEntry::ApplyPlus250Pa;
}

int measRange(const QString &reply, QChar decimalSeparator) {
    QString rest = without(reply, QStringLiteral("MeasRange"));
    rest.replace(QLatin1Char('.'), decimalSeparator);
    return NumberText::toInt(rest);
}

Outcome calibOk(const QString &reply) {
    const QString rest = without(reply, QStringLiteral("TCalibOK"));
    if (rest == kCmdNotExist)
        return {CatalogueEntry::RecalibrationNotSupported};
    if (rest == QLatin1String("Err_ZPCC_active"))
        return {CatalogueEntry::RecalibrationFailedZeroingRuns};
    if (rest == QLatin1String("Err_ValRange"))
        return {CatalogueEntry::RecalibrationFailedOutsideRange};
    if (rest.left(3) == QLatin1String("Err"))
        return {CatalogueEntry::RecalibrationFailed};
    const int raw = NumberText::toInt(rest);
    if (raw < 0 || raw > kRawMax)
        return {CatalogueEntry::RecalibrationFailed};
    return {CatalogueEntry::RecalibrationSucceeded, true};
}

CatalogueEntry calibFinished(const QString &reply, bool cancelled, bool success) {
    const QString rest = without(reply, QStringLiteral("TCalibFinished"));
    if (rest == kCmdNotExist)
        return CatalogueEntry::RecalibrationNotSupported;
    if (rest == QLatin1String("Err_NotActive"))
        return CatalogueEntry::NoRecalibrationRuns;
    if (rest != kOk)
        return CatalogueEntry::RecalibrationFailed;
    if (cancelled)
        return CatalogueEntry::RecalibrationAbortedSuccessfully;
    return success ? CatalogueEntry::RecalibrationSucceeded : CatalogueEntry::RecalibrationFinished;
}

CatalogueEntry recallCalib(const QString &reply) {
    if (reply == kCmdNotExist)
        return CatalogueEntry::RecalibrationNotSupported;
    return reply == kOk ? CatalogueEntry::RecalibrationResetSucceeded
                        : CatalogueEntry::RecalibrationResetFailed;
}

QString withLineBreaks(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace CalibReplies

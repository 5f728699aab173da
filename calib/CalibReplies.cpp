#include "calib/CalibReplies.h"

#include "base/NumberText.h"

namespace CalibReplies {

namespace {
constexpr int kRecalibrationFinished = 118;
constexpr int kVariantWithoutRecalibration = 119;
constexpr int kZeroingRuns = 120;
constexpr int kOutsideBand = 121;
constexpr int kSucceeded = 122;
constexpr int kFailed = 123;
constexpr int kAbortedSuccessfully = 132;
constexpr int kNoRecalibrationRuns = 135;
constexpr int kRecallSucceeded = 127;
constexpr int kRecallFailed = 128;
constexpr int kRawMax = 65535;

const QString kCmdNotExist = QStringLiteral("Err_CmdNotExist");
const QString kOk = QStringLiteral("OK");

QString without(QString reply, const QString &name) {
    return reply.remove(name);
}
} // namespace

int pressureRequestEntry(bool negative, bool range100) {
    if (negative)
        return range100 ? 115 : 114;
    return range100 ? 113 : 112;
}

int measRange(const QString &reply, QChar decimalSeparator) {
    QString rest = without(reply, QStringLiteral("MeasRange"));
    rest.replace(QLatin1Char('.'), decimalSeparator);
    return NumberText::toInt(rest);
}

Outcome calibOk(const QString &reply) {
    const QString rest = without(reply, QStringLiteral("TCalibOK"));
    if (rest == kCmdNotExist)
        return {kVariantWithoutRecalibration};
    if (rest == QLatin1String("Err_ZPCC_active"))
        return {kZeroingRuns};
    if (rest == QLatin1String("Err_ValRange"))
        return {kOutsideBand};
    if (rest.left(3) == QLatin1String("Err"))
        return {kFailed};
    const int raw = NumberText::toInt(rest);
    if (raw < 0 || raw > kRawMax)
        return {kFailed};
    return {kSucceeded, true};
}

int calibFinished(const QString &reply, bool cancelled, bool success) {
    const QString rest = without(reply, QStringLiteral("TCalibFinished"));
    if (rest == kCmdNotExist)
        return kVariantWithoutRecalibration;
    if (rest == QLatin1String("Err_NotActive"))
        return kNoRecalibrationRuns;
    if (rest != kOk)
        return kFailed;
    if (cancelled)
        return kAbortedSuccessfully;
    return success ? kSucceeded : kRecalibrationFinished;
}

int recallCalib(const QString &reply) {
    if (reply == kCmdNotExist)
        return kVariantWithoutRecalibration;
    return reply == kOk ? kRecallSucceeded : kRecallFailed;
}

QString withLineBreaks(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace CalibReplies

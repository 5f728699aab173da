// Handlers of the field re-calibration.
#include "app/TformMain.h"

#include "calib/CalibLock.h"
#include "calib/CalibReplies.h"
#include "calib/ui/TFormKalibrieren.h"
#include "calib/ui/TFormKalibrierungLoeschen.h"

namespace {
constexpr int kReadingRange = 109;
constexpr int kRange250 = 110;
constexpr int kRange100 = 111;
constexpr int kRecalibrationFinished = 118;
constexpr int kRecalibrationFailed = 123;
constexpr int kRecallFinished = 126;
constexpr int kRecallRunning = 129;
} // namespace

void TformMain::ButtonCalibPlusClick() {
    state.calibNegative = false;
    Nachteachen();
}

void TformMain::ButtonCalibMinusClick() {
    state.calibNegative = true;
    Nachteachen();
}

void TformMain::ButtonCalibCancelClick() {
    KalibrierungLoeschen();
}

void TformMain::Nachteachen() {
    CalibLock lock(*runner_);
    lock.begin(msg(kReadingRange) + portSuffix());
    // Without a measurement no button could abort endless "Err" replies: the resends are bounded.
    const auto send = [this](const QString &command) {
        return state.measurementRunning ? SendToCom(command) : SendToComUnabortable(command);
    };
    // A device that reports neither range keeps the flag of the previous procedure.
    const int range =
        CalibReplies::measRange(send(QStringLiteral("?MeasRange")), state.decimalSeparator);
    if (range == 0 || range == 1) {
        state.calibRange100 = range == 1;
        setStatus(msg(range == 1 ? kRange100 : kRange250) + portSuffix());
    }
    const QString start =
        state.calibNegative ? QStringLiteral(">TCalibMinus") : QStringLiteral(">TCalibPlus");
    if (send(start) == QLatin1String("OK")) {
        prompts().execModal(*formKalibrieren());
        setStatus(msg(kRecalibrationFinished));
    } else {
        setStatus(msg(kRecalibrationFailed));
    }
    lock.end();
}

void TformMain::KalibrierungLoeschen() {
    CalibLock lock(*runner_);
    lock.begin(msg(kRecallRunning));
    prompts().execModal(*formKalibrierungLoeschen());
    setStatus(msg(kRecallFinished));
    lock.end();
}

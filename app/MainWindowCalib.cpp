// Handlers of the field re-calibration.
#include "app/TformMain.h"

#include "calib/CalibLock.h"
#include "calib/CalibReplies.h"
#include "calib/ui/TFormKalibrieren.h"
#include "calib/ui/TFormKalibrierungLoeschen.h"

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
    lock.begin(msg(CatalogueEntry::ReadingMeasurementRange) + portSuffix());
    // Without a measurement no button could abort endless "Err" replies: the resends are bounded.
    const auto send = [this](const QString &command) {
        return state.measurementRunning ? SendToCom(command) : SendToComUnabortable(command);
    };
    // A device that reports neither range keeps the flag of the previous procedure.
    const int range =
        CalibReplies::measRange(send(QStringLiteral("?MeasRange")), state.decimalSeparator);
    if (range == 0 || range == 1) {
        state.calibRange100 = range == 1;
        setStatus(msg(range == 1 ? CatalogueEntry::Range100PaIdentified
                                 : CatalogueEntry::Range250PaIdentified) +
                  portSuffix());
    }
    const QString start =
        state.calibNegative ? QStringLiteral(">TCalibMinus") : QStringLiteral(">TCalibPlus");
    if (send(start) == QLatin1String("OK")) {
        prompts().execModal(*formKalibrieren());
        setStatus(msg(CatalogueEntry::RecalibrationFinished));
    } else {
        setStatus(msg(CatalogueEntry::RecalibrationFailed));
    }
    lock.end();
}

void TformMain::KalibrierungLoeschen() {
    CalibLock lock(*runner_);
    lock.begin(msg(CatalogueEntry::RecalibrationResetRunning));
    prompts().execModal(*formKalibrierungLoeschen());
    setStatus(msg(CatalogueEntry::RecalibrationResetFinished));
    lock.end();
}

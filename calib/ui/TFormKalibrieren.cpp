#include "calib/ui/TFormKalibrieren.h"

#include "base/SharedState.h"
#include "calib/CalibReplies.h"

#include <QLabel>
#include <QPushButton>
#include <exception>
#include <functional>

namespace {
// Runs an action only when the scope is left by an exception.
class OnFailure {
public:
    explicit OnFailure(std::function<void()> action)
        : action_(std::move(action)), pending_(std::uncaught_exceptions()) {}
    ~OnFailure() {
        if (std::uncaught_exceptions() > pending_)
            action_();
    }
    OnFailure(const OnFailure &) = delete;
    OnFailure &operator=(const OnFailure &) = delete;

private:
    std::function<void()> action_;
    int pending_;
};
} // namespace

TFormKalibrieren::TFormKalibrieren(QWidget *parent, OperationRunner &runner,
                                   const SharedState &state, GuardedRun guarded)
    : CalibDialog(parent, runner, std::move(guarded), QStringLiteral("FormKalibrieren"),
                  QStringLiteral("ZEL kalibrieren")),
      state_(state) {}

void TFormKalibrieren::Kalibrierfenster_Initialisieren() {
    setWindowTitle(msg(CatalogueEntry::CalibrateZel));
    const SharedState &state = state_;
    showText(msg(CalibReplies::pressureRequestEntry(state.calibNegative, state.calibRange100)));
    ButtonCalibAbbrechen->setText(msg(CatalogueEntry::Cancel));
    ButtonCalibOK->setEnabled(true);
    ButtonCalibAbbrechen->setEnabled(true);
    step_ = 0;
    success_ = false;
    cancelled_ = false;
}

void TFormKalibrieren::ButtonCalibOKClick() {
    ButtonCalibOK->setEnabled(false);
    ButtonCalibAbbrechen->setEnabled(false);
    {
        // The step has moved on before the device was asked, so after a failure (reported by
        // the global handler) the next OK still ends re-calibration or closes the dialog.
        const OnFailure keepUsable([this] {
            showResult(CatalogueEntry::RecalibrationFailed,
                       step_ == 1 ? CatalogueEntry::RemoveHosesThenOk : CatalogueEntry::OkToExit);
            ButtonCalibOK->setEnabled(true);
        });
        if (step_ == 0)
            confirmPressure();
        else if (step_ == 1)
            finishRecalibration();
        else
            close();
    }
    ButtonCalibOK->setEnabled(true);
}

void TFormKalibrieren::confirmPressure() {
    step_ = 1;
    showProgress(CatalogueEntry::RecalibrationRunning);
    const CalibReplies::Outcome outcome = CalibReplies::calibOk(send(QStringLiteral(">TCalibOK")));
    success_ = outcome.success;
    showResult(outcome.entry, CatalogueEntry::RemoveHosesThenOk);
}

void TFormKalibrieren::finishRecalibration() {
    step_ = 2;
    showProgress(CatalogueEntry::ChangingTerminals);
    const QString reply = send(QStringLiteral(">TCalibFinished"));
    showResult(CalibReplies::calibFinished(reply, cancelled_, success_), CatalogueEntry::OkToExit);
}

void TFormKalibrieren::ButtonCalibAbbrechenClick() {
    showResult(CatalogueEntry::RecalibrationAborted, CatalogueEntry::RemoveHosesThenOk);
    ButtonCalibAbbrechen->setEnabled(false);
    step_ = 1;
    cancelled_ = true;
}

// Until ">TCalibFinished" the device stays in re-calibration. Closing the dialog before that
// cancels where the pressure was not yet confirmed and ends re-calibration exactly as the OK
// button does; the dialog then shows the outcome and the next close ends it.
bool TFormKalibrieren::mayClose() {
    if (step_ >= 2)
        return true;
    if (step_ == 0)
        runStep(&CalibDialog::ButtonCalibAbbrechenClick);
    runStep(&CalibDialog::ButtonCalibOKClick);
    return false;
}

void TFormKalibrieren::showResult(CatalogueEntry entry, CatalogueEntry followUp) {
    showText(msg(entry) + msg(followUp));
}

#include "measure/ZeroResetAction.h"

#include "link/OperationRunner.h"

const ZeroResetAction::Kind ZeroResetAction::kZeroing{
    QStringLiteral("MZ"), CatalogueEntry::ZeroingRuns, CatalogueEntry::ZeroingFinished};
const ZeroResetAction::Kind ZeroResetAction::kReset{
    QStringLiteral("Reset"), CatalogueEntry::ResettingZel, CatalogueEntry::ResetFinished};

void ZeroResetAction::run(OperationRunner &runner, const Kind &kind) {
    runner.pausePolling();
    runner.clearAbort();
    runner.beginAction(DeviceAction::ZeroReset);
    // The measurement may be stopped while the action runs; each step asks anew.
    const auto measuring = [&runner] { return runner.measurementRunning(); };
    perform(runner, kind, measuring);
    if (measuring())
        runner.resumePolling();
    runner.endAction();
}

void ZeroResetAction::perform(DeviceSession &session, const Kind &kind,
                              const std::function<bool()> &portHeld) {
    session.setStatus(session.message(kind.runningText) + session.portSuffix());
    if (!portHeld()) {
        session.openPort();
        session.delay(kSettleMs);
    }
    // Without a measurement there is no button that could abort endless "Err" replies.
    if (portHeld())
        session.send(kind.command);
    else
        session.sendUnabortable(kind.command);
    // The device works on whether the user stops the measurement or aborts meanwhile.
    session.delayForDevice(kFinishMs);
    session.setStatus(session.message(kind.endText));
    if (!portHeld())
        session.closePort();
}

#include "teach/TeachController.h"

#include "app/TformMain.h"
#include "teach/InstrumentBackend.h"
#include "teach/TeachRun.h"

#include <QPushButton>
#include <QTimer>

namespace {

// Marks a run as active for as long as it has not unwound, also when it leaves by an exception.
class ActiveRun {
public:
    explicit ActiveRun(bool &flag) : flag_(flag) { flag_ = true; }
    ~ActiveRun() { flag_ = false; }
    ActiveRun(const ActiveRun &) = delete;
    ActiveRun &operator=(const ActiveRun &) = delete;

private:
    bool &flag_;
};

} // namespace

TeachController::TeachController(TformMain &window) : window_(window) {}

void TeachController::runTeach() {
    if (runActive_)
        return;
    ActiveRun active(runActive_);
    const std::unique_ptr<InstrumentBackend> instruments = instrumentBackend();
    TeachRun(window_, *instruments).run();
}

void TeachController::abortTeach() {
    requestStop();
    // Ends a running wait now instead of after its full time.
    window_.PauseTimerTimer();
}

void TeachController::requestStop() {
    window_.state.abortFlag = true;
    window_.requestStop();
}

std::unique_ptr<InstrumentBackend> TeachController::instrumentBackend() const {
    return InstrumentBackend::create(InstrumentBackend::Selection::read(window_.executableDir()),
                                     window_.options().instrumentBench, window_.state.gpib,
                                     window_.options().waitScale);
}

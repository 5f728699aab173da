#include "app/TeachController.h"

#include "app/TformMain.h"
#include "teach/TeachRunView.h"
#include "teach/TeachValueModel.h"
#include "teach/ui/TformOptions.h"

#include "teach/BenchCheck.h"
#include "teach/InstrumentBackend.h"
#include "teach/TeachRun.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>

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

namespace {

// The teach page and the instrument settings dialog as the teach run sees them.
class TeachPageView : public TeachRunView {
public:
    explicit TeachPageView(TformMain &window) : w_(window) {}

    void clearLog() override { w_.ctl<QListWidget>(QStringLiteral("ListBox1"))->clear(); }
    void setLabel(const QString &name, const QString &text) override {
        if (const TeachValueRow *row = TeachValueTable::findByValueLabel(name))
            w_.teachValues().setText(*row, text);
        else
            w_.ctl<QLabel>(name)->setText(text);
    }
    void disableLabel(const QString &name) override { w_.ctl<QLabel>(name)->setEnabled(false); }
    bool checked(const char *checkBox) const override {
        return w_.ctl<QCheckBox>(QString::fromLatin1(checkBox))->isChecked();
    }
    int rangeIndex() const override {
        return w_.ctl<QComboBox>(QStringLiteral("MeasRange1"))->currentIndex();
    }
    void setProgress(int maximum, int position) override {
        w_.Progress->setMaximum(maximum);
        w_.Progress->setValue(position);
    }
    void setProgressPosition(int position) override { w_.Progress->setValue(position); }
    int progressMaximum() const override { return w_.Progress->maximum(); }
    void showMessage(const QString &text) override { w_.prompts().showMessage(&w_, text); }
    bool zelSimulation() const override { return w_.formOptions()->zelSimulation(); }
    bool daValuesShown() const override { return w_.formOptions()->daWerteStattZelWerte(); }
    void requestStop() override { w_.teach().requestStop(); }

private:
    TformMain &w_;
};

} // namespace

TeachController::TeachController(TformMain &window) : window_(window) {}

void TeachController::runTeach() {
    if (runActive_)
        return;
    ActiveRun active(runActive_);
    const std::unique_ptr<InstrumentBackend> instruments = instrumentBackend();
    TeachPageView view(window_);
    TeachRun(window_.runner(), view, *instruments, window_.state.gpib).run();
}

void TeachController::abortTeach() {
    // The abort request also ends a running wait at once.
    requestStop();
}

void TeachController::requestStop() {
    window_.runner().requestAbort();
    window_.requestStop();
}

std::unique_ptr<InstrumentBackend> TeachController::instrumentBackend() const {
    InstrumentBackend::Selection selection =
        InstrumentBackend::Selection::read(window_.executableDir());
    // A demo's instruments are simulated whatever the tool settings file selects.
    if (window_.options().demoInstruments)
        selection.kind = InstrumentBackend::Kind::Simulated;
    return InstrumentBackend::create(selection, window_.options().instrumentBench,
                                     window_.state.gpib, window_.options().waitScale,
                                     BusWait::on(window_.runner()));
}

void TeachController::benchCheck(const InstrumentBackend::Selection &selection,
                                 const GpibSettings &gpib) {
    if (runActive_)
        return;
    InstrumentBackend::Selection chosen = selection;
    if (window_.options().demoInstruments)
        chosen.kind = InstrumentBackend::Kind::Simulated;
    const std::unique_ptr<InstrumentBackend> backend =
        InstrumentBackend::create(chosen, window_.options().instrumentBench, gpib,
                                  window_.options().waitScale, BusWait::on(window_.runner()));
    window_.runner().clearAbort();
    const QList<BenchCheck::Result> results = BenchCheck::run(*backend, gpib);
    window_.prompts().showMessage(window_.formOptions(), BenchCheck::text(results));
}

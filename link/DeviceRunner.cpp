#include "link/DeviceRunner.h"

#include "base/Errors.h"
#include "base/Waits.h"
#include "link/CommandExchange.h"
#include "link/SerialDriver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <utility>

// Marks a wait of the runner; when the last one ends, held handlers get their turn.
class DeviceRunner::WaitScope {
public:
    explicit WaitScope(DeviceRunner &runner) : runner_(runner) { ++runner_.waitDepth_; }
    ~WaitScope() {
        if (--runner_.waitDepth_ == 0 && !runner_.held_.isEmpty() && !runner_.heldScheduled_) {
            runner_.heldScheduled_ = true;
            // From the event loop, not from inside the action whose wait just ended.
            QMetaObject::invokeMethod(
                &runner_, [runner = &runner_] { runner->runHeldHandlers(); }, Qt::QueuedConnection);
        }
    }
    WaitScope(const WaitScope &) = delete;
    WaitScope &operator=(const WaitScope &) = delete;

private:
    DeviceRunner &runner_;
};

DeviceRunner::DeviceRunner(Options options, Feedback &feedback, QObject *parent)
    : QObject(parent), feedback_(feedback), port_(std::move(options.driver)),
      waitScale_(options.waitScale) {
    QTimer *timer = options.waitTimer ? options.waitTimer : new QTimer(this);
    waits_ = new Waits(timer, this);
    CommandExchange::Hooks hooks;
    hooks.pumpMessages = [this] { pumpWhileWaiting(); };
    hooks.abortRequested = [this] { return abort_; };
    hooks.statusText = [this] { return feedback_.shownStatus(); };
    hooks.setStatus = [this](const QString &text) { feedback_.showStatus(text); };
    hooks.message = [this](CatalogueEntry entry) { return feedback_.message(entry); };
    exchange_ = std::make_unique<CommandExchange>(port_, hooks, options.replyTimeoutMs);
}

DeviceRunner::~DeviceRunner() = default;

QString DeviceRunner::send(const QString &command) {
    return exchange_->send(command);
}

QString DeviceRunner::sendStep(const QString &command) {
    const QString reply = exchange_->send(command);
    feedback_.showProgressStep();
    return reply;
}

QString DeviceRunner::sendUnabortable(const QString &command) {
    return exchange_->send(command, false);
}

void DeviceRunner::delay(int ms) {
    if (abort_)
        return;
    WaitScope scope(*this);
    waits_->wait(qMax(0, static_cast<int>(ms * waitScale_)));
}

void DeviceRunner::delayForDevice(int ms) {
    WaitScope scope(*this);
    waits_->wait(qMax(0, static_cast<int>(ms * waitScale_)), Waits::Ending::OnlyByTime);
}

void DeviceRunner::pumpWhileWaiting() {
    WaitScope scope(*this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void DeviceRunner::requestAbort() {
    abort_ = true;
    waits_->endAll();
}

void DeviceRunner::dispatch(const std::function<void()> &handler, Handler kind) {
    if (!waiting() || kind == Handler::Abort || kind == Handler::Display)
        handler();
    else if (kind == Handler::Input)
        held_.append(handler);
}

void DeviceRunner::runHeldHandlers() {
    heldScheduled_ = false;
    // A wait begun since then holds them again; its end schedules them anew.
    if (waiting())
        return;
    const QVector<std::function<void()>> handlers = std::exchange(held_, {});
    const int failures = failures_;
    for (const auto &handler : handlers) {
        // An action started by one of them failed: the rest no longer apply either.
        if (failures_ != failures)
            break;
        dispatch(handler, Handler::Input);
    }
}

void DeviceRunner::takeOwedReply() {
    exchange_->takeOwedReply();
}

void DeviceRunner::endWaits() {
    waits_->endAll();
}

void DeviceRunner::openPort() {
    // Reaching a device server takes up to its connect time-out: an abort or stop ends it.
    port_.open([this] {
        pumpWhileWaiting();
        return abort_;
    });
    if (!port_.connected())
        throw EGlobalError(message(CatalogueEntry::AbortByUser));
    port_.setEventChar('\r');
}

void DeviceRunner::closePort() {
    port_.close();
}

void DeviceRunner::setModemLines(bool dtr, bool rts) {
    port_.setDTR(dtr);
    port_.setRTS(rts);
}

QString DeviceRunner::portSuffix() const {
    return QStringLiteral(" (") + port_.port() + QLatin1Char(')');
}

void DeviceRunner::beginAction(DeviceAction action) {
    action_ = action;
    stopRequested_ = false;
    emit controlStatesChanged();
}

void DeviceRunner::endAction() {
    action_ = DeviceAction::None;
    stopRequested_ = false;
    emit controlStatesChanged();
}

void DeviceRunner::setMeasuring(bool measuring) {
    measuring_ = measuring;
    emit controlStatesChanged();
}

void DeviceRunner::requestStop() {
    stopRequested_ = true;
    emit controlStatesChanged();
}

void DeviceRunner::recoverFromFailure(DeviceAction stillUnwinding) {
    try {
        port_.close();
    } catch (...) {
        // The port is gone already; nothing more to close.
    }
    abort_ = false;
    // What the user asked for while the failed action waited no longer applies.
    held_.clear();
    ++failures_;
    action_ = stillUnwinding;
    stopRequested_ = stillUnwinding != DeviceAction::None;
    measuring_ = false;
    emit controlStatesChanged();
}

ControlStates DeviceRunner::controlStates() const {
    return ControlStates::of(action_, measuring_, stopRequested_);
}

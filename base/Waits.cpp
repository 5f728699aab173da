#include "base/Waits.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <limits>

Waits::Waits(QTimer *timer, QObject *parent) : QObject(parent), timer_(timer) {
    // A coarse timer may fire up to 5 % early; the device must get its whole time.
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &Waits::onTimeout);
}

void Waits::wait(int ms, Ending ending) {
    QEventLoop loop;
    Wait wait;
    wait.ms = qMax(0, ms);
    wait.ending = ending;
    wait.loop = &loop;
    wait.clock.start();
    waits_.append(&wait);
    schedule();
    loop.exec();
    waits_.removeOne(&wait);
    schedule();
}

void Waits::endAll() {
    for (Wait *wait : std::as_const(waits_)) {
        if (wait->ending == Ending::OnlyByTime)
            continue;
        wait->ended = true;
        wait->loop->quit();
    }
    schedule();
}

void Waits::onTimeout() {
    for (Wait *wait : std::as_const(waits_)) {
        if (!wait->ended && wait->clock.elapsed() >= wait->ms) {
            wait->ended = true;
            wait->loop->quit();
            emit completed(int(wait->ms));
        }
    }
    schedule();
}

// The timer runs to the nearest end of a wait still running, and stops when none is left.
void Waits::schedule() {
    qint64 next = std::numeric_limits<qint64>::max();
    for (const Wait *wait : std::as_const(waits_)) {
        if (!wait->ended)
            next = qMin(next, qMax<qint64>(0, wait->ms - wait->clock.elapsed()));
    }
    if (next == std::numeric_limits<qint64>::max())
        timer_->stop();
    else
        timer_->start(int(qMin<qint64>(next, std::numeric_limits<int>::max())));
}

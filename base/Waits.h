#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QVector>

class QEventLoop;
class QTimer;

// The waits of the device sequences (Delay). Each wait lasts at least its time, measured on a
// monotonic clock, and is independent of every other: a wait started inside another one (by a
// handler that ran while messages were pumped) no longer cuts the outer one short. Messages are
// handled while waiting, without spinning. endAll(), a user abort, ends every running wait at
// once, except a wait that gives the device time to finish its work, which nothing shortens. One
// timer serves all waits; it is active exactly while a wait runs.
class Waits : public QObject {
    Q_OBJECT
public:
    explicit Waits(QTimer *timer, QObject *parent = nullptr);

    enum class Ending { ByAbort, OnlyByTime };
    void wait(int ms, Ending ending = Ending::ByAbort);
    // Ends every running wait that an abort may end.
    void endAll();
    int running() const { return waits_.size(); }

signals:
    // A wait ran its whole time (not ended by endAll).
    void completed(int ms);

private:
    struct Wait {
        QElapsedTimer clock;
        qint64 ms = 0;
        QEventLoop *loop = nullptr;
        bool ended = false;
        Ending ending = Ending::ByAbort;
    };

    void onTimeout();
    void schedule();

    QTimer *timer_;
    QVector<Wait *> waits_;
};

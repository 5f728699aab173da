#pragma once

#include "sim/DeviceModel.h"
#include "sim/FaultPlan.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace sim {

// Serves a DeviceModel on a pseudo-terminal, so the tool talks to it through its real serial
// code. A worker thread (not the Qt event loop, which a test or a blocking caller may hold)
// reads command lines ended by CR and writes the replies. Every public method is thread-safe.
class PtyDevice {
public:
    // Serial timing of 9600 baud 8N1: ten bit times per character.
    static constexpr std::chrono::nanoseconds CharTime{1041667};

    explicit PtyDevice(int measRange = 0, std::uint32_t seed = 1);
    ~PtyDevice();
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    // Creates the pseudo-terminal and starts serving; returns the slave path ("/dev/pts/7").
    // After stop() or a hang-up, a new start() creates a new terminal. Throws
    // std::runtime_error when no terminal can be created.
    QString start();
    void stop();
    QString slavePath() const;
    bool isRunning() const;
    bool hasHungUp() const { return hungUp_; }

    // Pace every exchange like the 9600-baud line: the reply is written when the command and
    // the reply would have taken their time on the wire.
    void setWireTime(bool on);
    // Appends every received line and every reply, with a timestamp; an empty path stops it.
    // Throws std::runtime_error when the file cannot be opened.
    void setLogFile(const QString &path);
    // A line of its own in the log ("== " + note), such as what the bench instruments got.
    void logNote(const QByteArray &note);

    // Received command lines (without CR) in order, faulted ones included.
    QStringList commandLog() const;
    void clearLog();
    // Commands received since start(); the numbers fault rules count with (clearLog() keeps it).
    int commandCount() const;

    // Called on the server's thread with every command line before the device answers it,
    // outside the device's lock (it may use withModel()).
    void setCommandObserver(std::function<void(const QByteArray &)> observer);

    void addFault(const FaultRule &rule);
    void clearFaults();
    // Runs fn on the model under the device's lock; fn must not call back into this object.
    void withModel(const std::function<void(DeviceModel &)> &fn);

private:
    struct Outcome {
        QByteArray bytes;
        bool hangUp = false;
        int delayMs = 0;
    };
    using TimePoint = std::chrono::steady_clock::time_point;

    void run();
    void serveLine(const QByteArray &line, TimePoint lineStart);
    Outcome decide(const QByteArray &line);
    bool waitUntil(TimePoint due) const;
    // How long before a reply is due the worker stops sleeping and spins.
    static constexpr std::chrono::microseconds kSpinBeforeDue{300};
    void writeAll(const QByteArray &bytes);
    void hangUp();
    void logExchange(const QByteArray &line, const Outcome &outcome);
    void closeFds();

    std::mutex lifecycle_;     // start() and stop() one at a time
    mutable std::mutex mutex_; // everything the worker shares
    DeviceModel model_;
    FaultPlan faults_;
    QStringList log_;
    int commandCount_ = 0;
    bool wireTime_ = false;
    std::unique_ptr<QFile> logFile_;
    QString slavePath_;
    std::function<void(const QByteArray &)> observer_;

    int masterFd_ = -1;
    int slaveFd_ = -1; // kept open so the master never sees a hang-up between the tool's opens
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::thread worker_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> hungUp_{false};
};

} // namespace sim

#include "sim/PtyDevice.h"

#include <QDateTime>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr int kMaxLine = 4096; // a line longer than this without CR is dropped

std::runtime_error systemError(const char *what) {
    return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

void closeFd(int &fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Printable form of a line for the log file.
QByteArray escaped(const QByteArray &bytes) {
    QByteArray out;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '\\')
            out += c;
        else
            out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
    }
    return out;
}

} // namespace

PtyDevice::PtyDevice(int measRange, std::uint32_t seed) : model_(measRange, seed) {}

PtyDevice::~PtyDevice() {
    stop();
}

QString PtyDevice::start() {
    std::lock_guard<std::mutex> life(lifecycle_);
    std::lock_guard<std::mutex> lock(mutex_);
    if (worker_.joinable() && !hungUp_)
        return slavePath_;
    if (worker_.joinable())
        worker_.join();
    closeFds();

    if (::openpty(&masterFd_, &slaveFd_, nullptr, nullptr, nullptr) != 0)
        throw systemError("openpty");
    char name[128] = {};
    if (::ptsname_r(masterFd_, name, sizeof name) != 0) {
        closeFds();
        throw systemError("ptsname_r");
    }
    // Raw, so the terminal neither echoes the tool's lines back nor translates CR.
    termios tio{};
    ::tcgetattr(slaveFd_, &tio);
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B9600);
    ::tcsetattr(slaveFd_, TCSANOW, &tio);
    ::fcntl(masterFd_, F_SETFL, ::fcntl(masterFd_, F_GETFL) | O_NONBLOCK);
    ::fcntl(masterFd_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slaveFd_, F_SETFD, FD_CLOEXEC);
    int wake[2];
    if (::pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
        closeFds();
        throw systemError("pipe2");
    }
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];

    slavePath_ = QString::fromLocal8Bit(name);
    commandCount_ = 0;
    hungUp_ = false;
    stopping_ = false;
    worker_ = std::thread([this] { run(); });
    return slavePath_;
}

void PtyDevice::stop() {
    std::lock_guard<std::mutex> life(lifecycle_);
    std::unique_lock<std::mutex> lock(mutex_);
    if (!worker_.joinable())
        return;
    stopping_ = true;
    const char byte = 's';
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
    // The worker needs the lock to finish the line it may be serving.
    std::thread worker = std::move(worker_);
    lock.unlock();
    worker.join();
    lock.lock();
    closeFds();
    stopping_ = false;
}

void PtyDevice::closeFds() {
    closeFd(masterFd_);
    closeFd(slaveFd_);
    closeFd(wakeRead_);
    closeFd(wakeWrite_);
}

QString PtyDevice::slavePath() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return slavePath_;
}

bool PtyDevice::isRunning() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return worker_.joinable() && !hungUp_;
}

void PtyDevice::setWireTime(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    wireTime_ = on;
}

void PtyDevice::setLogFile(const QString &path) {
    std::lock_guard<std::mutex> lock(mutex_);
    logFile_.reset();
    if (path.isEmpty())
        return;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append))
        throw std::runtime_error("cannot open log file " + path.toStdString() + ": " +
                                 file->errorString().toStdString());
    logFile_ = std::move(file);
}

QStringList PtyDevice::commandLog() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

void PtyDevice::clearLog() {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
}

int PtyDevice::commandCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return commandCount_;
}

void PtyDevice::setCommandObserver(std::function<void(const QByteArray &)> observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = std::move(observer);
}

void PtyDevice::addFault(const FaultRule &rule) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.add(rule);
}

void PtyDevice::clearFaults() {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
}

void PtyDevice::withModel(const std::function<void(DeviceModel &)> &fn) {
    std::lock_guard<std::mutex> lock(mutex_);
    fn(model_);
}

void PtyDevice::run() {
    // Wire-time pacing sleeps a few ms per exchange; the default 50 us timer slack would add
    // up to a visible share of it.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    QByteArray pending;
    TimePoint lineStart;
    while (!stopping_ && !hungUp_) {
        pollfd fds[2] = {{masterFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        char buffer[512];
        const ssize_t n = ::read(masterFd_, buffer, sizeof buffer);
        if (n <= 0) {
            // EIO cannot last while our slave descriptor is open; don't spin if it does.
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                waitUntil(std::chrono::steady_clock::now() + std::chrono::milliseconds(10));
            continue;
        }
        for (ssize_t i = 0; i < n && !hungUp_ && !stopping_; ++i) {
            const char c = buffer[i];
            if (c == '\n')
                continue;
            if (c == '\r') {
                serveLine(pending, lineStart);
                pending.clear();
                continue;
            }
            if (pending.isEmpty())
                lineStart = std::chrono::steady_clock::now();
            if (pending.size() < kMaxLine)
                pending += c;
        }
    }
}

void PtyDevice::serveLine(const QByteArray &line, TimePoint lineStart) {
    const TimePoint received = std::chrono::steady_clock::now();
    bool wire = false;
    Outcome outcome;
    std::function<void(const QByteArray &)> observer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        observer = observer_;
    }
    if (observer)
        observer(line);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        wire = wireTime_;
        outcome = decide(line);
        logExchange(line, outcome);
    }
    // With wire time the command took its time to arrive and the reply takes its time to leave.
    TimePoint due = received;
    if (wire)
        due = lineStart + CharTime * int(line.size() + 1 + outcome.bytes.size());
    due += std::chrono::milliseconds(outcome.delayMs);
    if (!waitUntil(due))
        return;
    if (outcome.hangUp)
        hangUp();
    else
        writeAll(outcome.bytes);
}

// Called with the lock held.
PtyDevice::Outcome PtyDevice::decide(const QByteArray &line) {
    ++commandCount_;
    log_ << QString::fromLatin1(line);
    const FaultPlan::Decision decision = faults_.decide(line, commandCount_);
    Outcome outcome;
    outcome.delayMs = decision.delayMs;
    if (decision.normal) {
        outcome.bytes = model_.reply(line) + '\r';
        return outcome;
    }
    using K = FaultRule::Kind;
    switch (decision.kind) {
    case K::Silence:
    case K::Delay:
        break;
    case K::Err:
        outcome.bytes = "Err\r";
        break;
    case K::Empty:
        outcome.bytes = "\r";
        break;
    case K::Garbage:
        outcome.bytes = FaultPlan::garbageBytes() + '\r';
        break;
    case K::NoCr:
        outcome.bytes = model_.reply(line);
        break;
    case K::Flood:
        outcome.bytes = FaultPlan::floodBytes();
        break;
    case K::HangUp:
        outcome.hangUp = true;
        break;
    case K::CustomReply:
        outcome.bytes = decision.customReply + '\r';
        break;
    }
    return outcome;
}

// Sleeps until `due`; false when stop() interrupts the wait.
bool PtyDevice::waitUntil(TimePoint due) const {
    using namespace std::chrono;
    for (;;) {
        const auto left = duration_cast<milliseconds>(due - steady_clock::now()).count();
        if (left <= 1)
            break;
        pollfd wake{wakeRead_, POLLIN, 0};
        if (::poll(&wake, 1, static_cast<int>(left - 1)) > 0)
            return false;
    }
    // The last stretch is spun: a sleeping thread wakes up to a tenth of a millisecond late on
    // a busy or virtual machine, which would add up over the fifty exchanges of a transfer.
    std::this_thread::sleep_until(due - kSpinBeforeDue);
    while (steady_clock::now() < due)
        std::this_thread::yield();
    return !stopping_;
}

void PtyDevice::writeAll(const QByteArray &bytes) {
    using namespace std::chrono;
    qsizetype done = 0;
    auto stuckSince = steady_clock::now();
    while (done < bytes.size() && !stopping_) {
        const ssize_t n = ::write(masterFd_, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
            stuckSince = steady_clock::now();
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        // Nobody reads the terminal (the tool has the port closed) and its input queue is
        // full: drop the stale input rather than block the device for ever.
        if (steady_clock::now() - stuckSince > milliseconds(500)) {
            ::tcflush(slaveFd_, TCIFLUSH);
            stuckSince = steady_clock::now();
        }
        pollfd out{masterFd_, POLLOUT, 0};
        ::poll(&out, 1, 50);
    }
}

// Like pulling the adapter: the terminal disappears under the tool.
void PtyDevice::hangUp() {
    hungUp_ = true;
    closeFd(masterFd_);
    closeFd(slaveFd_);
}

// Called with the lock held.
void PtyDevice::logNote(const QByteArray &note) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!logFile_)
        return;
    logFile_->write(QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toLatin1() +
                    " == " + escaped(note) + '\n');
    logFile_->flush();
}

void PtyDevice::logExchange(const QByteArray &line, const Outcome &outcome) {
    if (!logFile_)
        return;
    const QByteArray stamp =
        QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toLatin1() + ' ';
    QByteArray reply;
    if (outcome.hangUp)
        reply = "[hang-up]";
    else if (outcome.bytes.isEmpty())
        reply = "[silence]";
    else if (outcome.bytes.endsWith('\r'))
        reply = escaped(outcome.bytes.chopped(1));
    else
        reply = escaped(outcome.bytes) + " [no CR]";
    if (outcome.delayMs > 0)
        reply += " [delayed " + QByteArray::number(outcome.delayMs) + " ms]";
    logFile_->write(stamp + "<- " + escaped(line) + '\n');
    logFile_->write(stamp + "-> " + reply + '\n');
    logFile_->flush();
}

} // namespace sim

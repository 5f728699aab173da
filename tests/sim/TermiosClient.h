#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// A bare serial client on plain termios, so the simulator is tested without the tool's own
// serial code.
class TermiosClient {
public:
    enum class End { Cr, Timeout, HangUp };
    struct Read {
        QByteArray bytes; // without the CR
        End end = End::Timeout;
    };

    TermiosClient() = default;
    explicit TermiosClient(const QString &path) { open(path); }
    ~TermiosClient() { close(); }
    TermiosClient(const TermiosClient &) = delete;
    TermiosClient &operator=(const TermiosClient &) = delete;

    bool open(const QString &path) {
        close();
        fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0)
            return false;
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
        ::tcflush(fd_, TCIOFLUSH);
        return true;
    }

    void close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    bool isOpen() const { return fd_ >= 0; }

    bool writeLine(const QByteArray &line) {
        const QByteArray bytes = line + '\r';
        return ::write(fd_, bytes.constData(), bytes.size()) == bytes.size();
    }

    // Reads until CR, the time-out or a hang-up of the terminal.
    Read readToCr(int timeoutMs = 2000) {
        Read result;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0)
                return result;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left)) <= 0)
                continue;
            char c = 0;
            const ssize_t n = ::read(fd_, &c, 1);
            if (n == 1) {
                if (c == '\r') {
                    result.end = End::Cr;
                    return result;
                }
                result.bytes += c;
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                result.end = End::HangUp;
                return result;
            }
        }
    }

    QByteArray exchange(const QByteArray &line, int timeoutMs = 2000) {
        writeLine(line);
        const Read r = readToCr(timeoutMs);
        return r.end == End::Cr ? r.bytes : QByteArray("<no reply>");
    }

private:
    int fd_ = -1;
};

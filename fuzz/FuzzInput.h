#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace zelfuzz {

// A broken invariant. Not caught by the targets: libFuzzer reports it as a crash with the
// input, the regression test as a failure.
class CheckFailed : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

inline void check(bool condition, const char *what) {
    if (!condition)
        throw CheckFailed(what);
}

inline void check(bool condition, const QString &what) {
    if (!condition)
        throw CheckFailed(what.toStdString());
}

// Takes typed values from the front of the fuzz bytes; past the end every value is zero, so
// every input, however short, is a valid test case.
class FuzzInput {
public:
    explicit FuzzInput(const QByteArray &data) : data_(data) {}

    bool atEnd() const { return pos_ >= data_.size(); }
    qsizetype remaining() const { return atEnd() ? 0 : data_.size() - pos_; }

    std::uint8_t byte() { return atEnd() ? 0 : static_cast<std::uint8_t>(data_[pos_++]); }
    bool flag() { return byte() & 1; }
    // A value in 0..count-1.
    int pick(int count) { return count > 0 ? byte() % count : 0; }

    std::uint64_t bits64() {
        std::uint64_t v = 0;
        for (int i = 0; i < 8; ++i)
            v = (v << 8) | byte();
        return v;
    }
    double rawDouble() {
        const std::uint64_t bits = bits64();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    std::int32_t int32() { return static_cast<std::int32_t>(bits64() >> 32); }

    // Up to `maxLength` bytes, ended early by `terminator` (which is consumed, not returned).
    QByteArray bytesUntil(char terminator, qsizetype maxLength) {
        QByteArray out;
        while (!atEnd() && out.size() < maxLength) {
            const char c = data_[pos_++];
            if (c == terminator)
                break;
            out += c;
        }
        return out;
    }
    QByteArray rest() {
        QByteArray out = atEnd() ? QByteArray() : data_.mid(pos_);
        pos_ = data_.size();
        return out;
    }

private:
    const QByteArray &data_;
    qsizetype pos_ = 0;
};

} // namespace zelfuzz

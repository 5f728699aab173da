#pragma once

#include "link/SerialDriver.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace zelfuzz {

// A serial line whose device answers each written line with the next of a list of byte
// strings (nothing: silence) and, when the list is used up, stays silent. Records what was
// written and what the last read gave, so the exchange's result can be checked against it.
class FuzzSerialDriver : public SerialDriver {
public:
    explicit FuzzSerialDriver(QList<std::optional<QByteArray>> answers)
        : answers_(std::move(answers)) {}

    void open(const QString &) override { open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void setLineSettings(const LineSettings &) override {}
    void clear(bool input, bool) override {
        if (input)
            pending_.clear();
    }
    void write(const QByteArray &data) override {
        written_.append(data);
        answer_ = next_ < answers_.size() ? answers_[next_++] : std::nullopt;
    }
    QByteArray read(int maxCount) override {
        lastRead_ = pending_.left(maxCount);
        pending_.remove(0, lastRead_.size());
        return lastRead_;
    }
    bool waitForByte(char terminator, int, const WhileWaiting &) override {
        if (answer_) {
            pending_ += *answer_;
            answer_.reset();
        }
        return pending_.contains(terminator);
    }
    void setDtr(bool) override {}
    void setRts(bool) override {}

    const QList<QByteArray> &written() const { return written_; }
    const QByteArray &lastRead() const { return lastRead_; }
    qsizetype answerCount() const { return answers_.size(); }

private:
    QList<std::optional<QByteArray>> answers_;
    qsizetype next_ = 0;
    std::optional<QByteArray> answer_;
    QByteArray pending_;
    QByteArray lastRead_;
    QList<QByteArray> written_;
    bool open_ = false;
};

} // namespace zelfuzz

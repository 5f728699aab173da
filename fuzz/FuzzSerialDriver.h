#pragma once

#include "link/SerialDriver.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace zelfuzz {

// A serial line whose device answers each written line, in order, with the next of a list of
// byte strings (nothing: silence; when the list is used up it stays silent). Each wait takes
// the next answer the device still owes, unless that wait is given up, as a user's abort does:
// the device then sends the answer later, into a later wait. Records what was written and which
// written lines the bytes of the last read answered, so a reply can be traced to its line.
class FuzzSerialDriver : public SerialDriver {
public:
    FuzzSerialDriver(QList<std::optional<QByteArray>> answers, std::uint8_t givenUpWaits)
        : answers_(std::move(answers)), givenUpWaits_(givenUpWaits) {}

    void open(const QString &) override { open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void setLineSettings(const LineSettings &) override {}
    void clear(bool input, bool) override {
        if (input) {
            pending_.clear();
            pendingFrom_.clear();
        }
    }
    void write(const QByteArray &data) override {
        written_.append(data);
        owed_.append(
            {next_ < answers_.size() ? answers_[next_] : std::nullopt, int(written_.size() - 1)});
        ++next_;
    }
    QByteArray read(int maxCount) override {
        lastRead_ = pending_.left(maxCount);
        lastReadFrom_ = pendingFrom_;
        pending_.remove(0, lastRead_.size());
        if (pending_.isEmpty())
            pendingFrom_.clear();
        return lastRead_;
    }
    bool waitForByte(char terminator, int, const WhileWaiting &whileWaiting) override {
        const bool giveUp = (givenUpWaits_ >> (waits_++ % 8)) & 1;
        if (giveUp && whileWaiting) {
            abort_ = true;
            if (whileWaiting())
                return false;
        }
        if (!owed_.isEmpty()) {
            const Owed owed = owed_.takeFirst();
            if (owed.answer) {
                pending_ += *owed.answer;
                pendingFrom_.append(owed.line);
            }
        }
        return pending_.contains(terminator);
    }
    void setDtr(bool) override {}
    void setRts(bool) override {}

    // The user's abort, as the waits gave up; the next action clears it.
    bool abortRequested() const { return abort_; }
    void clearAbort() { abort_ = false; }

    const QList<QByteArray> &written() const { return written_; }
    const QByteArray &lastRead() const { return lastRead_; }
    // The indexes in written() of the lines whose answers the last read holds.
    const QList<int> &lastReadFrom() const { return lastReadFrom_; }
    qsizetype answerCount() const { return answers_.size(); }

private:
    struct Owed {
        std::optional<QByteArray> answer;
        int line = 0;
    };
    QList<std::optional<QByteArray>> answers_;
    std::uint8_t givenUpWaits_ = 0;
    qsizetype next_ = 0;
    int waits_ = 0;
    bool abort_ = false;
    QList<Owed> owed_;
    QByteArray pending_;
    QList<int> pendingFrom_;
    QByteArray lastRead_;
    QList<int> lastReadFrom_;
    QList<QByteArray> written_;
    bool open_ = false;
};

} // namespace zelfuzz

#pragma once

#include "link/SerialDriver.h"

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// An in-process serial line: every written line goes to a responder, whose answer (or silence)
// the next wait delivers; the modem lines are recorded. Stands in where a pseudo-terminal
// cannot: modem lines, and looking at the window between the attempts of one exchange.
class ScriptedSerialDriver : public SerialDriver {
public:
    struct Line {
        QStringList written;    // lines written, without their CR
        QStringList modemLines; // "DTR=1", "RTS=0" in the order they were set
        bool open = false;
        int opens = 0;
        // Returns the bytes the device answers (with CR), or nothing for silence.
        std::function<std::optional<QByteArray>(const QString &line)> respond;
    };

    explicit ScriptedSerialDriver(std::shared_ptr<Line> line) : line_(std::move(line)) {}

    void open(const QString &) override {
        line_->open = true;
        ++line_->opens;
        pending_.clear();
    }
    void close() override { line_->open = false; }
    bool isOpen() const override { return line_->open; }
    void setLineSettings(const LineSettings &) override {}
    void clear(bool input, bool) override {
        if (input)
            pending_.clear();
    }
    void write(const QByteArray &data) override {
        QByteArray text = data;
        if (text.endsWith('\r'))
            text.chop(1);
        line_->written.append(QString::fromLatin1(text));
        answer_ = line_->respond ? line_->respond(QString::fromLatin1(text)) : std::nullopt;
    }
    QByteArray read(int maxCount) override {
        QByteArray out = pending_.left(maxCount);
        pending_.remove(0, out.size());
        return out;
    }
    bool waitForByte(char terminator, int, const WhileWaiting &) override {
        if (answer_) {
            pending_ += *answer_;
            answer_.reset();
        }
        return pending_.contains(terminator);
    }
    void setDtr(bool on) override { line_->modemLines.append(on ? "DTR=1" : "DTR=0"); }
    void setRts(bool on) override { line_->modemLines.append(on ? "RTS=1" : "RTS=0"); }

private:
    std::shared_ptr<Line> line_;
    std::optional<QByteArray> answer_;
    QByteArray pending_;
};

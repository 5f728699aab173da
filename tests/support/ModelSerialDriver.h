#pragma once

#include "link/SerialDriver.h"
#include "sim/DeviceModel.h"
#include "sim/ModelCoupling.h"

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// An in-process serial line to a simulated device: every written line is answered by a
// sim::DeviceModel (or by a test's override), and the modem lines are recorded and kept as a
// state the bench coupling reads. Stands in where a pseudo-terminal cannot: DTR and RTS.
class ModelSerialDriver : public SerialDriver {
public:
    struct Line {
        explicit Line(int measRange = 0) : model(measRange) {}

        sim::DeviceModel model;
        QStringList commands;   // lines written, without their CR
        QStringList modemLines; // "DTR=1", "RTS=0" in the order they were set
        sim::ModemLines lines;  // the state of both lines now
        bool open = false;
        int opens = 0;
        // An answer instead of the model's (with or without CR; nullopt: let the model answer).
        std::function<std::optional<QByteArray>(const QString &line)> override;
        // Told after a line was written, before it is answered.
        std::function<void(const QString &line)> onCommand;
        // Told after DTR or RTS changed.
        std::function<void()> linesChanged;
    };

    explicit ModelSerialDriver(std::shared_ptr<Line> line) : line_(std::move(line)) {}

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
        const QString command = QString::fromLatin1(text);
        line_->commands.append(command);
        if (line_->onCommand)
            line_->onCommand(command);
        std::optional<QByteArray> answer =
            line_->override ? line_->override(command) : std::nullopt;
        if (!answer)
            answer = line_->model.reply(text);
        if (!answer->endsWith('\r'))
            answer->append('\r');
        pending_ += *answer;
    }
    QByteArray read(int maxCount) override {
        QByteArray out = pending_.left(maxCount);
        pending_.remove(0, out.size());
        return out;
    }
    bool waitForByte(char terminator, int, const WhileWaiting &) override {
        return pending_.contains(terminator);
    }
    void setDtr(bool on) override {
        line_->modemLines.append(on ? "DTR=1" : "DTR=0");
        line_->lines.dtr = on;
        if (line_->linesChanged)
            line_->linesChanged();
    }
    void setRts(bool on) override {
        line_->modemLines.append(on ? "RTS=1" : "RTS=0");
        line_->lines.rts = on;
        if (line_->linesChanged)
            line_->linesChanged();
    }

private:
    std::shared_ptr<Line> line_;
    QByteArray pending_;
};

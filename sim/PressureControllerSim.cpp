#include "sim/PressureControllerSim.h"

#include "sim/DeviceCoupling.h"

#include <cmath>

namespace sim {

PressureControllerSim::PressureControllerSim(DeviceCoupling &coupling, Clock clock)
    : coupling_(coupling), clock_(std::move(clock)), changedAtMs_(clock_()) {}

void PressureControllerSim::write(const QByteArray &text) {
    log_.append(text);
    const QByteArray command = text.simplified();
    if (command == "Outform 1")
        outform_ = true;
    else if (command == "Chan B")
        channelB_ = true;
    else if (command == "Sensor Secondary, 2")
        secondarySensor_ = true;
    else if (command == "Stable?")
        pending_ = stableReply();
    else if (command == "Vent") {
        heading(0.0);
        vented_ = true;
    } else if (!setPoint(command))
        ++unknownCommands_;
    applyToDevice();
}

QByteArray PressureControllerSim::read(int maxCount) {
    applyToDevice();
    const QByteArray out = pending_.left(maxCount);
    pending_.remove(0, out.size());
    return out;
}

// "_pcs4 func ctrl 250 Pa": the controller holds the magnitude; the sign is the valves' business.
bool PressureControllerSim::setPoint(const QByteArray &command) {
    const QByteArray prefix = "_pcs4 func ctrl ";
    const QByteArray suffix = " Pa";
    if (!command.startsWith(prefix) || !command.endsWith(suffix))
        return false;
    bool ok = false;
    const double pascal =
        command.mid(prefix.size(), command.size() - prefix.size() - suffix.size()).toDouble(&ok);
    if (!ok || pascal < 0)
        return false;
    heading(pascal);
    vented_ = false;
    return true;
}

void PressureControllerSim::heading(double pascal) {
    startPa_ = pressurePa();
    targetPa_ = pascal;
    changedAtMs_ = clock_();
}

double PressureControllerSim::pressurePa() const {
    const std::int64_t elapsed = clock_() - changedAtMs_;
    if (settlingMs_ <= 0 || elapsed >= settlingMs_)
        return targetPa_;
    return startPa_ + (targetPa_ - startPa_) * double(elapsed) / double(settlingMs_);
}

bool PressureControllerSim::settled() const {
    return clock_() - changedAtMs_ >= settlingMs_;
}

QByteArray PressureControllerSim::stableReply() {
    if (!stableScript_.empty()) {
        QByteArray reply = stableScript_.front();
        stableScript_.pop_front();
        return reply;
    }
    if (!stableOverride_.isEmpty())
        return stableOverride_;
    return settled() ? QByteArray("YES\r\n") : QByteArray("NO\r\n");
}

void PressureControllerSim::applyToDevice() {
    coupling_.setGeneratedPressure(pressurePa());
}

} // namespace sim

#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <cstdint>
#include <deque>
#include <functional>

namespace sim {

class DeviceCoupling;

// The pressure controller on the bench (a KMV700 as the teach run drives it): it generates the
// pressure of a set-point, reaching it over a settling time, reports " Stable?" as "YES" only
// once settled, and vents. The pressure it generates goes to the device through the coupling.
class PressureControllerSim {
public:
    using Clock = std::function<std::int64_t()>; // monotonic milliseconds
    static constexpr std::int64_t DefaultSettlingMs = 4000;

    PressureControllerSim(DeviceCoupling &coupling, Clock clock);

    void setSettlingMs(std::int64_t ms) { settlingMs_ = ms; }
    std::int64_t settlingMs() const { return settlingMs_; }
    // Replies given to the next " Stable?" queries instead of the controller's own, in order:
    // how tests make a pressure wobble or the bus return rubbish.
    void queueStableReply(const QByteArray &reply) { stableScript_.push_back(reply); }
    // Every " Stable?" is answered with this reply (until cleared with an empty text).
    void setStableOverride(const QByteArray &reply) { stableOverride_ = reply; }

    // One message from the bus, as written (no terminator).
    void write(const QByteArray &text);
    // The pending reply, up to maxCount bytes; empty when nothing is pending (a read time-out).
    QByteArray read(int maxCount);

    // Magnitude in Pa the controller is heading for, and what it generates now.
    double targetPa() const { return targetPa_; }
    double pressurePa() const;
    bool settled() const;
    bool vented() const { return vented_; }
    // " Outform 1", " Chan B" and " Sensor Secondary, 2" have all arrived.
    bool configured() const { return outform_ && channelB_ && secondarySensor_; }
    // Messages received, in order, as written.
    const QByteArrayList &log() const { return log_; }
    int unknownCommands() const { return unknownCommands_; }

private:
    void heading(double pascal);
    bool setPoint(const QByteArray &command);
    QByteArray stableReply();
    void applyToDevice();

    DeviceCoupling &coupling_;
    Clock clock_;
    std::int64_t settlingMs_ = DefaultSettlingMs;
    double startPa_ = 0.0;
    double targetPa_ = 0.0;
    std::int64_t changedAtMs_ = 0;
    bool vented_ = true;
    bool outform_ = false, channelB_ = false, secondarySensor_ = false;
    QByteArray pending_;
    std::deque<QByteArray> stableScript_;
    QByteArray stableOverride_;
    QByteArrayList log_;
    int unknownCommands_ = 0;
};

} // namespace sim

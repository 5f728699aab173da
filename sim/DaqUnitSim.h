#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <cstdint>
#include <deque>
#include <map>
#include <random>

namespace sim {

class DeviceCoupling;

// The data-acquisition/switch unit on the bench (a 34970A as the teach run drives it, SCPI). It
// measures the device's output OUT-D, sources the reference voltages for the inputs and routes
// them through the input multiplexer. Its readings carry a small gain and offset error and
// noise, like a real meter, so a search on them behaves as on the bench.
class DaqUnitSim {
public:
    // Which channel is connected to what. A channel not listed reads about 0.
    struct Wiring {
        QByteArray outputVoltage = "101";
        QByteArray outputCurrent = "121";
        QByteArray multiplexer = "301";
        QByteArray inputVoltageSource = "304";
        QByteArray inputVoltageMeasure = "102";
        QByteArray inputCurrentSource = "305";
        QByteArray inputCurrentMeasure = "122";
    };
    // The input network: a current loop that gives 0 mA at -21 mV and 468.85 mV per mA, and a
    // voltage path with a 6 mV offset and a gain of 1.0004.
    static double loopCurrentMa(double sourceVolts);
    static double deliveredVolts(double sourceVolts);

    static constexpr const char *Identity = "HEWLETT-PACKARD,34970A,0,13-2-2 (zelsim)";

    DaqUnitSim(DeviceCoupling &coupling, Wiring wiring, std::uint32_t seed = 1);

    // Standard deviation of the reading noise (mA and V); 0 for exact readings.
    void setNoise(double currentMa, double volts);
    // Replies given to the next MEAS queries instead of a reading, in order (test faults).
    void queueMeasureReply(const QByteArray &reply) { measureScript_.push_back(reply); }

    void write(const QByteArray &text);
    // The pending reply, up to maxCount bytes; empty when nothing is pending (a read time-out).
    QByteArray read(int maxCount);

    // Code of the last "SOUR:DIG:DATA" on the multiplexer channel, -1 before the first.
    int multiplexerCode() const { return multiplexerCode_; }
    double sourceVolts(const QByteArray &channel) const;
    const Wiring &wiring() const { return wiring_; }
    const QByteArrayList &log() const { return log_; }
    int unknownCommands() const { return unknownCommands_; }

private:
    struct Parsed {
        QByteArray head;  // "MEAS:CURR:DC?", "SOUR:VOLT", ...
        QByteArray value; // text between the head and the channel list
        QByteArray channel;
    };
    static bool parse(const QByteArray &command, Parsed *parsed);
    bool execute(const Parsed &command);
    void route();
    double currentAt(const QByteArray &channel);
    double voltageAt(const QByteArray &channel);
    QByteArray reading(double value);
    double noise(double sigma);

    DeviceCoupling &coupling_;
    Wiring wiring_;
    std::mt19937 rng_;
    double currentNoiseMa_ = 0.0004;
    double voltageNoiseV_ = 0.0003;
    int multiplexerCode_ = -1;
    std::map<QByteArray, double> sources_;
    QByteArray pending_;
    std::deque<QByteArray> measureScript_;
    QByteArrayList log_;
    int unknownCommands_ = 0;
};

} // namespace sim

#include "sim/DaqUnitSim.h"

#include "sim/DeviceCoupling.h"

namespace sim {

namespace {

// Errors of the meter itself, small against the tolerances of a teach run.
constexpr double kCurrentGain = 1.0008;
constexpr double kCurrentOffsetMa = 0.0012;
constexpr double kVoltageGain = 0.9995;
constexpr double kVoltageOffsetV = -0.0008;

constexpr double kLoopOffsetMv = 21.0;
constexpr double kLoopMvPerMa = 468.85;
constexpr double kPathOffsetV = 0.006;
constexpr double kPathGain = 1.0004;

// The multiplexer code: bit 0 selects IN-2, bit 1 the current mode.
int routedInput(int code) {
    return (code & 1) ? 2 : 1;
}
bool routesCurrent(int code) {
    return (code & 2) != 0;
}

} // namespace

double DaqUnitSim::loopCurrentMa(double sourceVolts) {
    return (sourceVolts * 1000.0 + kLoopOffsetMv) / kLoopMvPerMa;
}

double DaqUnitSim::deliveredVolts(double sourceVolts) {
    return (sourceVolts + kPathOffsetV) * kPathGain;
}

DaqUnitSim::DaqUnitSim(DeviceCoupling &coupling, Wiring wiring, std::uint32_t seed)
    : coupling_(coupling), wiring_(std::move(wiring)), rng_(seed) {}

void DaqUnitSim::setNoise(double currentMa, double volts) {
    currentNoiseMa_ = currentMa;
    voltageNoiseV_ = volts;
}

void DaqUnitSim::write(const QByteArray &text) {
    log_.append(text);
    // The identity, as a bench check asks for it.
    if (text.trimmed().compare("*IDN?", Qt::CaseInsensitive) == 0) {
        pending_ = QByteArray(Identity) + '\n';
        return;
    }
    Parsed command;
    if (!parse(text.trimmed(), &command) || !execute(command))
        ++unknownCommands_;
}

QByteArray DaqUnitSim::read(int maxCount) {
    const QByteArray out = pending_.left(maxCount);
    pending_.remove(0, out.size());
    return out;
}

double DaqUnitSim::sourceVolts(const QByteArray &channel) const {
    const auto it = sources_.find(channel);
    return it == sources_.end() ? 0.0 : it->second;
}

// "SOUR:VOLT 1.854,(@305)": head, value, channel list.
bool DaqUnitSim::parse(const QByteArray &command, Parsed *parsed) {
    const int list = command.lastIndexOf(",(@");
    const int blank = command.indexOf(' ');
    if (list < 0 || blank < 0 || blank > list || !command.endsWith(')'))
        return false;
    parsed->head = command.left(blank);
    parsed->value = command.mid(blank + 1, list - blank - 1);
    parsed->channel = command.mid(list + 3, command.size() - list - 4);
    return true;
}

bool DaqUnitSim::execute(const Parsed &command) {
    const bool current = command.head == "MEAS:CURR:DC?";
    if (current || command.head == "MEAS:VOLT:DC?") {
        if (!measureScript_.empty()) {
            pending_ = measureScript_.front();
            measureScript_.pop_front();
        } else {
            pending_ =
                reading(current ? currentAt(command.channel) / 1000.0 : voltageAt(command.channel));
        }
        return true;
    }
    bool ok = false;
    if (command.head == "SOUR:DIG:DATA") {
        const int code = command.value.toInt(&ok);
        if (!ok || command.channel != wiring_.multiplexer)
            return ok;
        multiplexerCode_ = code;
    } else if (command.head == "SOUR:VOLT") {
        const double volts = command.value.toDouble(&ok);
        if (!ok)
            return false;
        sources_[command.channel] = volts;
    } else {
        return false;
    }
    route();
    return true;
}

// The multiplexer puts the routed signal on one input; the other input keeps what it had.
void DaqUnitSim::route() {
    if (multiplexerCode_ < 0)
        return;
    const int input = routedInput(multiplexerCode_);
    if (routesCurrent(multiplexerCode_))
        coupling_.setInputCurrent(input, loopCurrentMa(sourceVolts(wiring_.inputCurrentSource)));
    else
        coupling_.setInputVoltage(input, deliveredVolts(sourceVolts(wiring_.inputVoltageSource)));
}

double DaqUnitSim::currentAt(const QByteArray &channel) {
    double ma = 0.0;
    if (channel == wiring_.outputCurrent)
        ma = coupling_.outputCurrentMa();
    else if (channel == wiring_.inputCurrentMeasure && multiplexerCode_ >= 0 &&
             routesCurrent(multiplexerCode_))
        ma = loopCurrentMa(sourceVolts(wiring_.inputCurrentSource));
    return ma * kCurrentGain + kCurrentOffsetMa + noise(currentNoiseMa_);
}

double DaqUnitSim::voltageAt(const QByteArray &channel) {
    double volts = 0.0;
    if (channel == wiring_.outputVoltage)
        volts = coupling_.outputVoltageV();
    else if (channel == wiring_.inputVoltageMeasure && multiplexerCode_ >= 0 &&
             !routesCurrent(multiplexerCode_))
        volts = deliveredVolts(sourceVolts(wiring_.inputVoltageSource));
    return volts * kVoltageGain + kVoltageOffsetV + noise(voltageNoiseV_);
}

// The meter's reply format: "+4.00012345E-03" and a line feed.
QByteArray DaqUnitSim::reading(double value) {
    QByteArray text = QByteArray::number(value, 'E', 8);
    if (!text.startsWith('-'))
        text.prepend('+');
    return text + '\n';
}

double DaqUnitSim::noise(double sigma) {
    if (sigma <= 0.0)
        return 0.0;
    std::normal_distribution<double> distribution(0.0, sigma);
    return distribution(rng_);
}

} // namespace sim

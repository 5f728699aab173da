#include "sim/DeviceModel.h"

#include "sim/AnalogFrontEnd.h"
#include "sim/WireNumber.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace sim {

namespace {

const QByteArray kOk = "OK";
const QByteArray kCmdNotExist = "Err_CmdNotExist";
const QByteArray kValRange = "Err_ValRange";
const QByteArray kNotActive = "Err_NotActive";
const QByteArray kZeroingActive = "Err_ZPCC_active";
const QByteArray kUnderflow = "Err_Underflow";
const QByteArray kOverflow = "Err_Overflow";

constexpr std::int64_t kNoZeroing = std::numeric_limits<std::int64_t>::min();

// The sensor reads up to 120 % of its range before it reports an overflow.
constexpr double kOverRange = 1.2;

constexpr double kInputCurrentPoints[7] = {0, 4, 8, 12, 16, 20, 21};
constexpr double kInputVoltagePoints[7] = {0, 2, 4, 6, 8, 10, 11};

std::int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// "TPStuetz" + "13" -> 13; the suffix must be plain digits.
bool indexedName(const QByteArray &name, const char *prefix, int *index) {
    const QByteArray p(prefix);
    if (!name.startsWith(p) || name.size() == p.size() || name.size() > p.size() + 2)
        return false;
    std::int64_t v = 0;
    const QByteArray digits = name.mid(p.size());
    if (digits.startsWith('+') || digits.startsWith('-') || !wire::parseInteger(digits, &v))
        return false;
    *index = static_cast<int>(v);
    return true;
}

// Pressure the teach run generates at device point i of the given range.
double pressurePointPa(int point, int measRange) {
    const int nominal = point == 0 ? -120 : point == 22 ? 120 : 10 * point - 110;
    return measRange == 1 ? nominal : nominal * 5 / 2;
}

struct InputTrigger {
    const char *prefix;
    int input;
    bool current;
};

constexpr InputTrigger kInputTriggers[] = {
    {"TIN1IStuetz", 1, true},
    {"TIN1UStuetz", 1, false},
    {"TIN2IStuetz", 2, true},
    {"TIN2UStuetz", 2, false},
};

int inputSlot(int input) {
    if (input != 1 && input != 2)
        throw std::out_of_range("no such input");
    return input - 1;
}

} // namespace

DeviceModel::DeviceModel(int measRange, std::uint32_t seed)
    : zeroUntilMs_(kNoZeroing), noise_(seed), clock_(steadyMs) {
    const int range = measRange == 1 ? 1 : 0;
    loadFactorySettings(range);
    savedSettings_ = settings_;
    loadIdealTeachValues(range);
    savedTeach_ = teach_;
}

QByteArray DeviceModel::reply(const QByteArray &commandLine) {
    if (commandLine.startsWith('?'))
        return query(commandLine.mid(1));
    if (commandLine.startsWith('>')) {
        const QByteArray body = commandLine.mid(1);
        const int blank = body.indexOf(' ');
        if (blank < 0)
            return trigger(body);
        return set(body.left(blank), body.mid(blank + 1));
    }
    return action(commandLine);
}

QByteArray DeviceModel::query(const QByteArray &name) {
    if (name == "IP")
        return livePressure();
    if (name == "IN1")
        return liveInput(1);
    if (name == "IN2")
        return liveInput(2);
    if (SettingSpec::indexOf(name) >= 0)
        return name + ' ' + settingText(name);
    const int t = TeachValueSpec::indexOf(name);
    if (t >= 0)
        return name + ' ' + QByteArray::number(teach_[t]);
    return kCmdNotExist;
}

QByteArray DeviceModel::set(const QByteArray &name, const QByteArray &value) {
    const int s = SettingSpec::indexOf(name);
    if (s >= 0)
        return setSettingFromWire(s, value);
    const int t = TeachValueSpec::indexOf(name);
    if (t >= 0)
        return setTeachFromWire(t, value);
    if (name == "IDC")
        return setOutput(OutputMode::Current, value);
    if (name == "VDC")
        return setOutput(OutputMode::Voltage, value);
    return kCmdNotExist;
}

QByteArray DeviceModel::trigger(const QByteArray &name) {
    if (name == "MTeach")
        return toggleTeachMode();
    if (name == "TCalibPlus")
        return startRecalibration(CalibSide::Plus);
    if (name == "TCalibMinus")
        return startRecalibration(CalibSide::Minus);
    if (name == "TCalibOK")
        return recalibrationOk();
    if (name == "TCalibFinished")
        return recalibrationFinished();
    int point = 0;
    if (indexedName(name, "TPStuetz", &point))
        return teachPressurePoint(name);
    for (const InputTrigger &t : kInputTriggers) {
        if (indexedName(name, t.prefix, &point))
            return teachInputPoint(name, t.input, t.current);
    }
    // A setting or teach value without its value is a malformed set command.
    if (SettingSpec::indexOf(name) >= 0 || TeachValueSpec::indexOf(name) >= 0)
        return kValRange;
    return kCmdNotExist;
}

QByteArray DeviceModel::action(const QByteArray &word) {
    if (word == "SaveSet") {
        savedSettings_ = settings_;
        return kOk;
    }
    if (word == "SavePar") {
        savedTeach_ = teach_;
        return kOk;
    }
    if (word == "RecallWE")
        return recallFactory();
    if (word == "MZ")
        return zero();
    if (word == "Reset")
        return restart();
    if (word == "RecallCalib")
        return recallCalibration();
    return kCmdNotExist;
}

QByteArray DeviceModel::setSettingFromWire(int index, const QByteArray &value) {
    const SettingSpec &spec = SettingSpec::table()[index];
    double v = 0;
    std::int64_t n = 0;
    switch (spec.kind) {
    case SettingSpec::Kind::Address:
        return kCmdNotExist; // the address is set on the device itself
    case SettingSpec::Kind::Password:
        // Empty means no password; otherwise up to four digits.
        if (value.isEmpty()) {
            settings_[index] = 0;
            return kOk;
        }
        if (value.size() > 4 || value.startsWith('+') || value.startsWith('-') ||
            !wire::parseInteger(value, &n))
            return kValRange;
        settings_[index] = double(n);
        return kOk;
    case SettingSpec::Kind::Choice:
        if (!wire::parseInteger(value, &n) || n < spec.min || n > spec.max)
            return kValRange;
        settings_[index] = double(n);
        return kOk;
    case SettingSpec::Kind::Decimal:
        if (!wire::parseDecimal(value, &v) || v < spec.min || v > spec.max)
            return kValRange;
        settings_[index] = v;
        return kOk;
    }
    return kValRange;
}

QByteArray DeviceModel::setTeachFromWire(int index, const QByteArray &value) {
    const TeachValueSpec &spec = TeachValueSpec::table()[index];
    std::int64_t n = 0;
    if (!wire::parseInteger(value, &n) || n < spec.min || n > spec.max)
        return kValRange;
    teach_[index] = static_cast<int>(n);
    return kOk;
}

QByteArray DeviceModel::setOutput(OutputMode mode, const QByteArray &value) {
    std::int64_t n = 0;
    if (!wire::parseInteger(value, &n) || n < 0 || n > AnalogFrontEnd::DaMax)
        return kValRange;
    outputMode_ = mode;
    outputDa_ = static_cast<int>(n);
    return kOk;
}

QByteArray DeviceModel::teachPressurePoint(const QByteArray &name) {
    const int index = TeachValueSpec::indexOf(name.mid(1));
    if (index < 0)
        return kValRange;
    if (!teachMode_)
        return kNotActive;
    const int raw = AnalogFrontEnd::pressureCounts(appliedPa_, fullScalePa()) + noise_.jitter(3);
    teach_[index] = std::clamp(raw, 0, AnalogFrontEnd::RawMax);
    return name + ' ' + QByteArray::number(teach_[index]);
}

QByteArray DeviceModel::teachInputPoint(const QByteArray &name, int input, bool current) {
    const int index = TeachValueSpec::indexOf(name.mid(1));
    if (index < 0)
        return kValRange;
    if (!teachMode_)
        return kNotActive;
    const int slot = inputSlot(input);
    const int raw = current ? AnalogFrontEnd::inputCurrentCounts(input, inputMa_[slot])
                            : AnalogFrontEnd::inputVoltageCounts(input, inputV_[slot]);
    teach_[index] = std::clamp(raw + noise_.jitter(2), 0, AnalogFrontEnd::RawMax);
    return name + ' ' + QByteArray::number(teach_[index]);
}

QByteArray DeviceModel::toggleTeachMode() {
    teachMode_ = !teachMode_;
    if (!teachMode_)
        outputMode_ = OutputMode::Off; // the output follows the pressure again
    return teachMode_ ? "MTeach 1" : "MTeach 0";
}

QByteArray DeviceModel::startRecalibration(CalibSide side) {
    if (!recalSupported_)
        return kCmdNotExist;
    calibSide_ = side;
    return kOk;
}

QByteArray DeviceModel::recalibrationOk() {
    if (!recalSupported_)
        return kCmdNotExist;
    if (zeroingActive())
        return kZeroingActive;
    if (calibSide_ == CalibSide::None)
        return kNotActive;
    const double fs = fullScalePa();
    const double expected = calibSide_ == CalibSide::Plus ? fs : -fs;
    if (std::abs(appliedPa_ - expected) > calibBand_ * fs)
        return kValRange;
    const int raw = std::clamp(AnalogFrontEnd::pressureCounts(appliedPa_, fs) + noise_.jitter(3), 0,
                               AnalogFrontEnd::RawMax);
    teach_[teachIndex(calibSide_ == CalibSide::Plus ? "CalibPlus" : "CalibMinus")] = raw;
    return "TCalibOK " + QByteArray::number(raw);
}

QByteArray DeviceModel::recalibrationFinished() {
    if (!recalSupported_)
        return kCmdNotExist;
    if (calibSide_ == CalibSide::None)
        return kNotActive;
    calibSide_ = CalibSide::None;
    return kOk;
}

QByteArray DeviceModel::recallCalibration() {
    if (!recalSupported_)
        return kCmdNotExist;
    teach_[teachIndex("CalibPlus")] = 0;
    teach_[teachIndex("CalibMinus")] = 0;
    return kOk;
}

QByteArray DeviceModel::zero() {
    zeroOffsetPa_ = appliedPa_;
    zeroUntilMs_ = now() + zeroDurationMs_;
    return kOk;
}

bool DeviceModel::zeroingActive() const {
    return zeroUntilMs_ != kNoZeroing && now() < zeroUntilMs_;
}

// A restart drops whatever was not saved and leaves every special mode.
QByteArray DeviceModel::restart() {
    settings_ = savedSettings_;
    teach_ = savedTeach_;
    teachMode_ = false;
    calibSide_ = CalibSide::None;
    outputMode_ = OutputMode::Off;
    zeroUntilMs_ = kNoZeroing;
    ++resetCount_;
    return kOk;
}

QByteArray DeviceModel::recallFactory() {
    const double address = value("DeviceAdr");
    loadFactorySettings(measRange());
    settings_[settingIndex("DeviceAdr")] = address;
    savedSettings_ = settings_;
    return kOk;
}

QByteArray DeviceModel::livePressure() {
    const double fs = fullScalePa();
    double p = zeroingActive() ? 0.0 : appliedPa_ - zeroOffsetPa_;
    if (p > kOverRange * fs)
        return kOverflow;
    if (p < -kOverRange * fs)
        return kUnderflow;
    p += noise_.disturb(SensorNoise::Pressure, 2 * fs);
    const int unit = static_cast<int>(value("UnitP"));
    const bool hecto = unit == 1 || unit == 2;
    return "IP " + wire::formatFixed(hecto ? p / 100 : p, hecto ? 3 : 1);
}

QByteArray DeviceModel::liveInput(int input) {
    const QByteArray n = QByteArray::number(input);
    const int ext = static_cast<int>(value("ExtPress"));
    const bool pressure = input == 1 ? (ext == 2 || ext == 3) : (ext == 1 || ext == 3);
    const QByteArray kind = pressure ? "P" : input == 1 ? "T" : "H";
    const double down = value("ScalIN" + n + kind + "down");
    const double up = value("ScalIN" + n + kind + "up");
    // Signal window and the over-range the device still measures: 0-20 mA, 4-20 mA, 0-10 V.
    const int signal = static_cast<int>(value("SignalIN" + n));
    const int slot = inputSlot(input);
    const double level = signal == 2 ? inputV_[slot] : inputMa_[slot];
    const double lo = signal == 1 ? 4 : 0;
    const double hi = signal == 2 ? 10 : 20;
    const double under = signal == 1 ? 3 : 0;
    const double over = signal == 2 ? 11 : 21;
    constexpr double eps = 1e-9;
    if (level > over + eps)
        return kOverflow;
    if (level < under - eps)
        return kUnderflow;
    double v = down + (level - lo) / (hi - lo) * (up - down);
    v +=
        noise_.disturb(input == 1 ? SensorNoise::Input1 : SensorNoise::Input2, std::abs(up - down));
    const int unit = static_cast<int>(value("UnitIN" + n));
    const bool hecto = pressure && (unit == 1 || unit == 2);
    return "IN" + n + ' ' + wire::formatFixed(hecto ? v / 100 : v, hecto ? 3 : 1);
}

double DeviceModel::setting(const QByteArray &name) const {
    return settings_[settingIndex(name)];
}

void DeviceModel::setSetting(const QByteArray &name, double value) {
    settings_[settingIndex(name)] = value;
}

double DeviceModel::savedSetting(const QByteArray &name) const {
    return savedSettings_[settingIndex(name)];
}

QByteArray DeviceModel::settingText(const QByteArray &name) const {
    const int index = settingIndex(name);
    const double v = settings_[index];
    if (SettingSpec::table()[index].kind == SettingSpec::Kind::Decimal)
        return wire::formatDecimal(v);
    return QByteArray::number(static_cast<qlonglong>(std::llround(v)));
}

int DeviceModel::measRange() const {
    return value("MeasRange") == 1 ? 1 : 0;
}

double DeviceModel::fullScalePa() const {
    return measRange() == 1 ? 100.0 : 250.0;
}

int DeviceModel::teachValue(const QByteArray &name) const {
    return teach_[teachIndex(name)];
}

void DeviceModel::setTeachValue(const QByteArray &name, int value) {
    teach_[teachIndex(name)] = value;
}

int DeviceModel::savedTeachValue(const QByteArray &name) const {
    return savedTeach_[teachIndex(name)];
}

void DeviceModel::setInputCurrent(int input, double milliamps) {
    inputMa_[inputSlot(input)] = milliamps;
}

void DeviceModel::setInputVoltage(int input, double volts) {
    inputV_[inputSlot(input)] = volts;
}

double DeviceModel::inputCurrent(int input) const {
    return inputMa_[inputSlot(input)];
}

double DeviceModel::inputVoltage(int input) const {
    return inputV_[inputSlot(input)];
}

double DeviceModel::outputCurrentMa() const {
    return outputMode_ == OutputMode::Current ? AnalogFrontEnd::outputCurrentMa(outputDa_) : 0.0;
}

double DeviceModel::outputVoltageV() const {
    return outputMode_ == OutputMode::Voltage ? AnalogFrontEnd::outputVoltageV(outputDa_) : 0.0;
}

int DeviceModel::settingIndex(const QByteArray &name) const {
    const int index = SettingSpec::indexOf(name);
    if (index < 0)
        throw std::out_of_range("no such setting: " + name.toStdString());
    return index;
}

int DeviceModel::teachIndex(const QByteArray &name) const {
    const int index = TeachValueSpec::indexOf(name);
    if (index < 0)
        throw std::out_of_range("no such teach value: " + name.toStdString());
    return index;
}

double DeviceModel::value(const QByteArray &settingName) const {
    return settings_[settingIndex(settingName)];
}

void DeviceModel::loadFactorySettings(int measRange) {
    for (int i = 0; i < SettingSpec::Count; ++i)
        settings_[i] = SettingSpec::table()[i].factory(measRange);
}

// Support points of a device that left production with a perfect teach run.
void DeviceModel::loadIdealTeachValues(int measRange) {
    using G = TeachValueSpec::Group;
    const double fs = measRange == 1 ? 100.0 : 250.0;
    for (int i = 0; i < TeachValueSpec::Count; ++i) {
        const TeachValueSpec &spec = TeachValueSpec::table()[i];
        switch (spec.group) {
        case G::Pressure:
            teach_[i] = AnalogFrontEnd::pressureCounts(pressurePointPa(spec.point, measRange), fs);
            break;
        case G::Recalibration:
        case G::Correction:
            teach_[i] = 0;
            break;
        case G::OutputCurrent:
            teach_[i] = AnalogFrontEnd::daForCurrent(spec.point == 0   ? 0
                                                     : spec.point == 1 ? 4
                                                                       : 20);
            break;
        case G::OutputVoltage:
            teach_[i] = AnalogFrontEnd::daForVoltage(spec.point == 1 ? 0 : 10);
            break;
        case G::InputCurrent:
            teach_[i] =
                AnalogFrontEnd::inputCurrentCounts(spec.input, kInputCurrentPoints[spec.point]);
            break;
        case G::InputVoltage:
            teach_[i] =
                AnalogFrontEnd::inputVoltageCounts(spec.input, kInputVoltagePoints[spec.point]);
            break;
        }
    }
}

} // namespace sim

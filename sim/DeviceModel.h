#pragma once

// sim/: the simulated device and bench instruments (zelsim): the device's state and replies,
// its analog front end and noise, faults on demand, the pseudo-terminal and the servers of the
// simulated bench. Independent of the tool's own code.

#include "sim/SensorNoise.h"
#include "sim/SettingSpec.h"
#include "sim/TeachValueSpec.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <functional>

namespace sim {

// The device side of the serial protocol of a ZEL 40 / ZEL 80: one command line in (without
// CR), one reply line out (without CR). No I/O and no threads; the caller serialises access.
class DeviceModel {
public:
    using Clock = std::function<std::int64_t()>; // monotonic milliseconds
    enum class OutputMode { Off, Current, Voltage };
    enum class CalibSide { None, Plus, Minus };

    // measRange: 0 = +/-250 Pa, 1 = +/-100 Pa; the device starts with that variant's factory
    // settings, all of them saved.
    explicit DeviceModel(int measRange = 0, std::uint32_t seed = 1);

    QByteArray reply(const QByteArray &commandLine);

    // Settings (names as on the wire). Unknown names throw std::out_of_range. The setters
    // bypass the device's limits.
    double setting(const QByteArray &name) const;
    void setSetting(const QByteArray &name, double value);
    double savedSetting(const QByteArray &name) const;    // as stored by "SaveSet"
    QByteArray settingText(const QByteArray &name) const; // value part of a query reply
    int measRange() const;                                // current MeasRange setting
    double fullScalePa() const;                           // 250 or 100

    // Teach values (names as on the wire); unknown names throw std::out_of_range.
    int teachValue(const QByteArray &name) const;
    void setTeachValue(const QByteArray &name, int value);
    int savedTeachValue(const QByteArray &name) const; // as stored by "SavePar"
    bool teachMode() const { return teachMode_; }
    void setTeachMode(bool on) { teachMode_ = on; }

    // Re-calibration. The band is the allowed distance of the applied pressure from the
    // full-scale pressure of the chosen side, as a fraction of the full scale (default 0.1).
    void setRecalibrationSupported(bool supported) { recalSupported_ = supported; }
    bool recalibrationSupported() const { return recalSupported_; }
    CalibSide recalibrationSide() const { return calibSide_; }
    bool recalibrationActive() const { return calibSide_ != CalibSide::None; }
    void setRecalibrationBand(double fraction) { calibBand_ = fraction; }
    double recalibrationBand() const { return calibBand_; }

    // Zeroing ("MZ"): for this long after the command the pressure reads about 0.
    void setZeroDurationMs(std::int64_t ms) { zeroDurationMs_ = ms; }
    std::int64_t zeroDurationMs() const { return zeroDurationMs_; }
    bool zeroingActive() const;
    double zeroOffsetPa() const { return zeroOffsetPa_; }

    // The physical world around the device.
    void setAppliedPressure(double pascal) { appliedPa_ = pascal; }
    double appliedPressure() const { return appliedPa_; }
    void setInputCurrent(int input, double milliamps);
    void setInputVoltage(int input, double volts);
    double inputCurrent(int input) const;
    double inputVoltage(int input) const;
    int outputDa() const { return outputDa_; }
    OutputMode outputMode() const { return outputMode_; }
    double outputCurrentMa() const; // 0 unless the output is in current mode
    double outputVoltageV() const;  // 0 unless the output is in voltage mode

    void setNoiseEnabled(bool on) { noise_.setEnabled(on); }
    void setClock(Clock clock) { clock_ = std::move(clock); }
    int resetCount() const { return resetCount_; }

private:
    QByteArray query(const QByteArray &name);
    QByteArray set(const QByteArray &name, const QByteArray &value);
    QByteArray trigger(const QByteArray &name);
    QByteArray action(const QByteArray &word);

    QByteArray setSettingFromWire(int index, const QByteArray &value);
    QByteArray setTeachFromWire(int index, const QByteArray &value);
    QByteArray setOutput(OutputMode mode, const QByteArray &value);
    QByteArray teachPressurePoint(const QByteArray &name);
    QByteArray teachInputPoint(const QByteArray &name, int input, bool current);
    QByteArray startRecalibration(CalibSide side);
    QByteArray recalibrationOk();
    QByteArray recalibrationFinished();
    QByteArray recallCalibration();
    QByteArray toggleTeachMode();
    QByteArray zero();
    QByteArray restart();
    QByteArray recallFactory();

    QByteArray livePressure();
    QByteArray liveInput(int input);

    std::int64_t now() const { return clock_(); }
    int settingIndex(const QByteArray &name) const;
    int teachIndex(const QByteArray &name) const;
    double value(const QByteArray &settingName) const;
    void loadFactorySettings(int measRange);
    void loadIdealTeachValues(int measRange);

    std::array<double, SettingSpec::Count> settings_{};
    std::array<double, SettingSpec::Count> savedSettings_{};
    std::array<int, TeachValueSpec::Count> teach_{};
    std::array<int, TeachValueSpec::Count> savedTeach_{};
    bool teachMode_ = false;

    bool recalSupported_ = true;
    CalibSide calibSide_ = CalibSide::None;
    double calibBand_ = 0.1;

    std::int64_t zeroDurationMs_ = 3000;
    std::int64_t zeroUntilMs_;
    double zeroOffsetPa_ = 0.0;

    double appliedPa_ = 0.0;
    std::array<double, 2> inputMa_{{12.0, 12.0}};
    std::array<double, 2> inputV_{{5.0, 5.0}};
    int outputDa_ = 0;
    OutputMode outputMode_ = OutputMode::Off;

    SensorNoise noise_;
    Clock clock_;
    int resetCount_ = 0;
};

} // namespace sim

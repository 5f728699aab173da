#include "app/DemoBench.h"

#include "link/QtSerialDriver.h"
#include "sim/InstrumentBench.h"

#include <stdexcept>

namespace {

// The real port, with its modem lines also told to the bench.
class ModemLineTap : public SerialDriver {
public:
    ModemLineTap(sim::ModemLines &lines, std::function<void()> changed)
        : lines_(lines), changed_(std::move(changed)) {}

    void open(const QString &devicePath) override { port_.open(devicePath); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    void setLineSettings(const LineSettings &settings) override { port_.setLineSettings(settings); }
    void clear(bool input, bool output) override { port_.clear(input, output); }
    void write(const QByteArray &data) override { port_.write(data); }
    QByteArray read(int maxCount) override { return port_.read(maxCount); }
    bool waitForByte(char terminator, int timeoutMs, const WhileWaiting &whileWaiting) override {
        return port_.waitForByte(terminator, timeoutMs, whileWaiting);
    }
    void setDtr(bool on) override {
        port_.setDtr(on);
        lines_.dtr = on;
        changed_();
    }
    void setRts(bool on) override {
        port_.setRts(on);
        lines_.rts = on;
        changed_();
    }

private:
    QtSerialDriver port_;
    sim::ModemLines &lines_;
    std::function<void()> changed_;
};

} // namespace

DemoBench::DemoBench(double waitScale) {
    coupling_ = std::make_shared<sim::ModelCoupling>(
        [this](const std::function<void(sim::DeviceModel &)> &fn) { device_.withModel(fn); },
        [this] { return lines_; });
    sim::InstrumentBench::Config config;
    config.settlingMs =
        std::int64_t(sim::PressureControllerSim::DefaultSettlingMs * qMax(0.0, waitScale));
    bench_ = std::make_shared<sim::InstrumentBench>(coupling_, config);
}

DemoBench::~DemoBench() {
    device_.stop();
}

QString DemoBench::start() {
    try {
        return device_.start();
    } catch (const std::runtime_error &failure) {
        error_ = QStringLiteral("no pseudo-terminal for the simulated device: ") +
                 QString::fromLocal8Bit(failure.what());
        return QString();
    }
}

std::unique_ptr<SerialDriver> DemoBench::driver() {
    return std::make_unique<ModemLineTap>(lines_,
                                          [coupling = coupling_] { coupling->linesChanged(); });
}

GpibSettings DemoBench::instrumentSettings() const {
    const sim::InstrumentBench::Config config;
    const sim::DaqUnitSim::Wiring &w = config.wiring;
    GpibSettings gpib;
    gpib.GPIB1 = QString::fromLatin1(config.pressureControllerAddress);
    gpib.GPIB2 = QString::fromLatin1(config.daqUnitAddress);
    gpib.Agilent_OUTD_Spg = QString::fromLatin1(w.outputVoltage);
    gpib.Agilent_OUTD_Strom = QString::fromLatin1(w.outputCurrent);
    gpib.Agilent_IN1_2_Multiplexer = QString::fromLatin1(w.multiplexer);
    gpib.Agilent_IN1_2_Spg = QString::fromLatin1(w.inputVoltageSource);
    gpib.Agilent_IN1_2_Spgmessung = QString::fromLatin1(w.inputVoltageMeasure);
    gpib.Agilent_IN1_2_Strom = QString::fromLatin1(w.inputCurrentSource);
    gpib.Agilent_IN1_2_Strommessung = QString::fromLatin1(w.inputCurrentMeasure);
    return gpib;
}

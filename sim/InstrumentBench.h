#pragma once

#include "sim/DaqUnitSim.h"
#include "sim/PressureControllerSim.h"

#include <QByteArray>
#include <QByteArrayList>

#include <functional>
#include <map>
#include <memory>

namespace sim {

class DeviceCoupling;

// The two bench instruments on their bus addresses, reached like a VISA library reaches them:
// open a resource ("GPIB0::" + address + "::INSTR"), write, read, close. Not thread-safe; the
// tool drives it from its one thread.
class InstrumentBench {
public:
    struct Config {
        QByteArray pressureControllerAddress = "1";
        QByteArray daqUnitAddress = "9";
        DaqUnitSim::Wiring wiring;
        // Settling time of the controller; a test shortens it as it shortens the tool's waits.
        std::int64_t settlingMs = PressureControllerSim::DefaultSettlingMs;
        PressureControllerSim::Clock clock; // steady clock when empty
        std::uint32_t seed = 1;
    };

    InstrumentBench(std::shared_ptr<DeviceCoupling> coupling, Config config);
    ~InstrumentBench();
    InstrumentBench(const InstrumentBench &) = delete;
    InstrumentBench &operator=(const InstrumentBench &) = delete;

    static QByteArray resourceName(const QByteArray &address);

    // A session number (1, 2, ...) for an instrument on the bench, 0 for a resource where no
    // instrument listens.
    int open(const QByteArray &resource);
    // Writes and reads on a session that is not open do nothing.
    void write(int session, const QByteArray &text);
    QByteArray read(int session, int maxCount);
    void close(int session);
    int openSessions() const { return int(sessions_.size()); }

    const Config &config() const { return config_; }
    PressureControllerSim &pressureController() { return controller_; }
    DaqUnitSim &daqUnit() { return daq_; }
    DeviceCoupling &coupling() { return *coupling_; }
    // Every open, write and close in order: "open GPIB0::1::INSTR", "1> Chan B", "close 1".
    const QByteArrayList &log() const { return log_; }
    // Told every entry of the log as it is made (zelsim writes them to its command log).
    void setLogObserver(std::function<void(const QByteArray &)> observer) {
        observer_ = std::move(observer);
    }

private:
    enum class Instrument { PressureController, DaqUnit };

    std::shared_ptr<DeviceCoupling> coupling_;
    Config config_;
    PressureControllerSim controller_;
    DaqUnitSim daq_;
    std::map<int, Instrument> sessions_;
    int nextSession_ = 1;
    void note(const QByteArray &entry);

    QByteArrayList log_;
    std::function<void(const QByteArray &)> observer_;
};

} // namespace sim

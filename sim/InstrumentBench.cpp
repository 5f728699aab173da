#include "sim/InstrumentBench.h"

#include "sim/DeviceCoupling.h"

#include <chrono>

namespace sim {

namespace {

std::int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

PressureControllerSim::Clock clockOf(const InstrumentBench::Config &config) {
    return config.clock ? config.clock : PressureControllerSim::Clock(steadyMs);
}

} // namespace

InstrumentBench::InstrumentBench(std::shared_ptr<DeviceCoupling> coupling, Config config)
    : coupling_(std::move(coupling)), config_(std::move(config)),
      controller_(*coupling_, clockOf(config_)), daq_(*coupling_, config_.wiring, config_.seed) {
    controller_.setSettlingMs(config_.settlingMs);
}

InstrumentBench::~InstrumentBench() = default;

QByteArray InstrumentBench::resourceName(const QByteArray &address) {
    return "GPIB0::" + address + "::INSTR";
}

int InstrumentBench::open(const QByteArray &resource) {
    note("open " + resource);
    Instrument instrument;
    if (resource == resourceName(config_.pressureControllerAddress))
        instrument = Instrument::PressureController;
    else if (resource == resourceName(config_.daqUnitAddress))
        instrument = Instrument::DaqUnit;
    else
        return 0;
    const int session = nextSession_++;
    sessions_[session] = instrument;
    return session;
}

void InstrumentBench::write(int session, const QByteArray &text) {
    const auto it = sessions_.find(session);
    if (it == sessions_.end())
        return;
    note(QByteArray::number(session) + "> " + text);
    if (it->second == Instrument::PressureController)
        controller_.write(text);
    else
        daq_.write(text);
}

QByteArray InstrumentBench::read(int session, int maxCount) {
    const auto it = sessions_.find(session);
    if (it == sessions_.end())
        return QByteArray();
    return it->second == Instrument::PressureController ? controller_.read(maxCount)
                                                        : daq_.read(maxCount);
}

void InstrumentBench::close(int session) {
    if (sessions_.erase(session) > 0)
        note("close " + QByteArray::number(session));
}

void InstrumentBench::note(const QByteArray &entry) {
    log_.append(entry);
    if (observer_)
        observer_(entry);
}

} // namespace sim

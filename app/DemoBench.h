#pragma once

#include "base/SharedState.h"
#include "sim/ModelCoupling.h"
#include "sim/PtyDevice.h"

#include <QString>
#include <memory>

class SerialDriver;
namespace sim {
class InstrumentBench;
}

// The production demo: the simulated device runs in this process on a pseudo-terminal, reached
// through the tool's real serial code, and the simulated bench instruments act on that same
// device, so a whole teach run converges and its values land on the device. The valves follow
// the port's modem lines, which a pseudo-terminal cannot carry: the tool's serial line reports
// them here.
class DemoBench {
public:
    // `waitScale` shortens the controller's settling as the tool's waits are shortened.
    explicit DemoBench(double waitScale = 1.0);
    ~DemoBench();
    DemoBench(const DemoBench &) = delete;
    DemoBench &operator=(const DemoBench &) = delete;

    // Starts the device; the path of its pseudo-terminal, or "" and error().
    QString start();
    QString error() const { return error_; }
    // The tool's serial line: the real port, telling the bench what DTR and RTS are.
    std::unique_ptr<SerialDriver> driver();
    std::shared_ptr<sim::InstrumentBench> bench() const { return bench_; }
    // The bench's addresses and channel wiring, which the teach run must use.
    GpibSettings instrumentSettings() const;
    sim::PtyDevice &device() { return device_; }

private:
    sim::PtyDevice device_;
    sim::ModemLines lines_;
    std::shared_ptr<sim::ModelCoupling> coupling_;
    std::shared_ptr<sim::InstrumentBench> bench_;
    QString error_;
};

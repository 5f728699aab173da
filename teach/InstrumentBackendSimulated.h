#pragma once

#include "teach/InstrumentBackend.h"

// Instrument sessions on the simulated bench, as if the bench were on the bus.
class InstrumentBackendSimulated : public InstrumentBackend {
public:
    explicit InstrumentBackendSimulated(std::shared_ptr<sim::InstrumentBench> bench);
    std::unique_ptr<InstrumentSession> createSession() override;

private:
    std::shared_ptr<sim::InstrumentBench> bench_;
};

#pragma once

#include "teach/InstrumentBackend.h"

// Instrument sessions on the simulated bench, as if the bench were on the bus.
class InstrumentBackendSimulated : public InstrumentBackend {
public:
    explicit InstrumentBackendSimulated(std::shared_ptr<sim::InstrumentBench> bench);
    QString describe(InstrumentRole) const override { return QStringLiteral("simuliert"); }

protected:
    std::unique_ptr<InstrumentSession> newSession(InstrumentRole role) override;

private:
    std::shared_ptr<sim::InstrumentBench> bench_;
};

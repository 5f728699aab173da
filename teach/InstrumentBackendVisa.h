#pragma once

#include "teach/InstrumentBackend.h"

// Instrument sessions through the VISA C library, loaded anew for every session.
class InstrumentBackendVisa : public InstrumentBackend {
public:
    explicit InstrumentBackendVisa(QString configuredPath);
    QString describe(InstrumentRole role) const override;

protected:
    std::unique_ptr<InstrumentSession> newSession(InstrumentRole role) override;

private:
    QString configuredPath_;
};

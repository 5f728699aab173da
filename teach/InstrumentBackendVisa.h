#pragma once

#include "teach/InstrumentBackend.h"

// Instrument sessions through the VISA C library, loaded anew for every session.
class InstrumentBackendVisa : public InstrumentBackend {
public:
    explicit InstrumentBackendVisa(QString configuredPath);
    std::unique_ptr<InstrumentSession> createSession() override;

private:
    QString configuredPath_;
};

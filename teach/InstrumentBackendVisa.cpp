#include "teach/InstrumentBackendVisa.h"

#include "teach/VisaLibrary.h"

InstrumentBackendVisa::InstrumentBackendVisa(QString configuredPath)
    : configuredPath_(std::move(configuredPath)) {}

std::unique_ptr<InstrumentSession> InstrumentBackendVisa::createSession() {
    return std::make_unique<VisaLibrary>(configuredPath_);
}

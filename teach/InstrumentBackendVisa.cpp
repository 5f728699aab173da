#include "teach/InstrumentBackendVisa.h"

#include "teach/VisaLibrary.h"

InstrumentBackendVisa::InstrumentBackendVisa(QString configuredPath)
    : configuredPath_(std::move(configuredPath)) {}

QString InstrumentBackendVisa::describe(InstrumentRole) const {
    return configuredPath_.isEmpty()
               ? QStringLiteral("VISA")
               : QStringLiteral("VISA (") + configuredPath_ + QLatin1Char(')');
}

std::unique_ptr<InstrumentSession> InstrumentBackendVisa::newSession(InstrumentRole) {
    return std::make_unique<VisaLibrary>(configuredPath_);
}

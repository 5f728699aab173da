#pragma once

#include "teach/InstrumentSession.h"

#include <QString>
#include <memory>

struct GpibSettings;
namespace sim {
class InstrumentBench;
}

// Where the teach run's instrument connections come from: the VISA library on the real bus, or
// the simulated bench. The tool settings file chooses, in section "IEEE":
//   Backend=visa (default) or Backend=simulated
//   VisaLibrary=<path of the VISA library>, tried before the usual library names
class InstrumentBackend {
public:
    enum class Kind { Visa, Simulated };

    struct Selection {
        Kind kind = Kind::Visa;
        QString visaLibrary;
        // Reads "Backend" and "VisaLibrary"; anything but "simulated" (any case) is VISA.
        static Selection read(const QString &toolSettingsDir);
    };

    virtual ~InstrumentBackend() = default;

    // A new session, not yet open; each section of the run opens its own. The VISA backend
    // loads its library here and throws EVisaError when it is missing.
    virtual std::unique_ptr<InstrumentSession> createSession() = 0;

    // The backend of a selection. The simulated one drives `bench` (the instruments a test or a
    // demo couples to its device); without one it builds a bench from the instrument settings
    // with no device connected, its settling time scaled like the tool's waits.
    static std::unique_ptr<InstrumentBackend> create(const Selection &selection,
                                                     std::shared_ptr<sim::InstrumentBench> bench,
                                                     const GpibSettings &gpib, double waitScale);
};

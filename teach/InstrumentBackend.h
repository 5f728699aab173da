#pragma once

#include "teach/BusSessions.h"
#include "teach/BusWait.h"
#include "teach/InstrumentSession.h"

#include <QString>
#include <memory>

struct GpibSettings;
namespace sim {
class InstrumentBench;
}

// Where the teach run's instrument connections come from. The tool settings file chooses, in
// section "IEEE":
//   Backend=visa (default), linux-gpib, prologix, lan or simulated
//   VisaLibrary=<path of the VISA library>, tried before the usual library names
//   GpibLibrary=<path of libgpib>, instead of libgpib.so.0
//   Prologix=<COM name, device path, or HOST[:PORT] of a Prologix-protocol adapter>
//   LanDaq=HOST[:PORT] and LanPc=HOST[:PORT] of the LAN instruments (port 5025 by default)
//   BusTimeoutMs=<time-out of every bus call but VISA's, 5000 by default>
class InstrumentBackend {
public:
    enum class Kind { Visa, Simulated, LinuxGpib, Prologix, Lan };

    struct Selection {
        Kind kind = Kind::Visa;
        QString visaLibrary;
        QString gpibLibrary;
        QString prologix; // a device path or HOST[:PORT] (COM names resolved by read())
        QString lanDaq, lanPc;
        int timeoutMs = BusWait::DefaultTimeoutMs;

        // Reads the keys above; anything unknown as "Backend" is VISA.
        static Selection read(const QString &toolSettingsDir);
        // Applies a choice for one run: "visa[:LIBRARY]", "linux-gpib",
        // "prologix:DEVICE", "prologix:HOST[:PORT]", "lan:DAQ_HOST:PORT,PC_HOST:PORT".
        // False (and `error`) for a text that is none of these.
        bool applyBus(const QString &bus, QString *error);
        // The backend's key text ("visa", "linux-gpib", ...).
        static QString kindKey(Kind kind);
        static bool kindOfKey(const QString &key, Kind *kind);
        // A Prologix adapter on TCP (not a COM name nor a device path).
        bool prologixOverTcp() const;
        // The device of a COM name ("COM3"), bound as the device's port is; anything else as
        // it stands.
        static QString adapterDevice(const QString &adapter, const QString &toolSettingsDir);
    };

    virtual ~InstrumentBackend() = default;

    // A new session, not yet open; each section of the run opens its own. The VISA and
    // linux-gpib backends load their library here and throw when it is missing.
    std::unique_ptr<InstrumentSession>
    createSession(InstrumentRole role = InstrumentRole::PressureController) {
        return newSession(role);
    }
    // The bus as a bench check reports it: "Prologix /dev/ttyUSB0", "LAN 10.0.0.7:5025", ...
    virtual QString describe(InstrumentRole role) const = 0;

    // The backend of a selection. The simulated one drives `bench` (the instruments a test or a
    // demo couples to its device); without one it builds a bench from the instrument settings
    // with no device connected, its settling time scaled like the tool's waits. The open buses
    // wait as `wait` says (its time-out is the selection's).
    static std::unique_ptr<InstrumentBackend> create(const Selection &selection,
                                                     std::shared_ptr<sim::InstrumentBench> bench,
                                                     const GpibSettings &gpib, double waitScale,
                                                     BusWait wait = BusWait());

protected:
    virtual std::unique_ptr<InstrumentSession> newSession(InstrumentRole role) = 0;
};

#pragma once

#include "base/Errors.h"

#include <QString>
#include <functional>

class DeviceRunner;

// An instrument bus failed: an adapter or instrument that is not there, a wrong address, a
// silent instrument, a library error. The message names what was tried.
class EInstrumentBus : public EZelError {
public:
    using EZelError::EZelError;
};

// How an open bus backend waits on its bus: in short slices, handing over to the front end's
// runner between them (the window keeps painting, the abort button keeps working), never
// longer than the time-out. The abort ends a wait for a reply; a write still goes out (the
// controller must be vented after an abort).
struct BusWait {
    static constexpr int DefaultTimeoutMs = 5000;
    static constexpr int SliceMs = 15;

    std::function<void()> pump;
    std::function<bool()> abortRequested;
    // The runner's user-abort text, raised (as EGlobalError) when the abort ends a wait.
    QString abortMessage = QStringLiteral("Abbruch durch Benutzer");
    int timeoutMs = DefaultTimeoutMs;

    // Waits that hand over to `runner` and end on its abort request.
    static BusWait on(DeviceRunner &runner);

    void handOver() const {
        if (pump)
            pump();
    }
    bool aborted() const { return abortRequested && abortRequested(); }
    // Throws the user abort when it was requested.
    void throwIfAborted() const {
        if (aborted())
            throw EGlobalError(abortMessage);
    }
};

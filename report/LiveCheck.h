#pragma once

#include "report/CommissioningReport.h"

#include <functional>

class DeviceSession;

// The live-value check of the commissioning report: a short measurement with the measurement
// page's poller, one reading per interval, on a port the caller has opened. The poller works on
// a settings model of its own, which its start queries fill from the device, so the settings
// the window shows stay as they are.
class LiveCheck {
public:
    static constexpr int kDefaultSeconds = 10;
    static constexpr int kMaxSeconds = 600;
    static constexpr int kIntervalMs = 1000;

    // One reading per interval, at least one.
    static int readingsFor(int seconds);
    // Measures for `seconds`; `read` runs after each reading. An abort request ends the check
    // with EGlobalError (AbortByUser), a link failure with the exchange's error.
    static LiveCheckResult run(DeviceSession &session, int seconds,
                               const std::function<void()> &read = {});
    // Whether the device takes a field re-calibration. The end of a re-calibration, asked while
    // none runs, is refused with "Err_NotActive" by a device that has it and "Err_CmdNotExist"
    // by one that does not; any other reply leaves the variant unknown.
    static DeviceVariant probeVariant(DeviceSession &session);
};

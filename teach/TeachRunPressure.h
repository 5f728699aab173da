#pragma once

#include "teach/InstrumentSession.h"

#include <QString>
#include <exception>
#include <memory>

class TeachRunContext;

// The internal-pressure section of the teach run: the pressure controller generates each of
// the 13 reference pressures on the side the modem lines select, and once it is stable the
// device records its raw value. A point whose value is refused or whose pressure moved during
// the measurement is taught again.
class TeachRunPressure {
public:
    static constexpr int StableCount = 3;
    static constexpr int PollWaitMs = 1000;
    static constexpr int VentWaitMs = 5000;

    explicit TeachRunPressure(TeachRunContext &context);
    void run();

private:
    void teachPoints();
    void ventAfterFailure(std::exception_ptr failure);
    // Teaches index i once; returns the index to teach next (i itself to repeat it).
    int teachPoint(int index);
    void generate(int pressure);
    void waitUntilStable();
    bool stable();
    QString pointText(int index, int pressure) const;

    TeachRunContext &context_;
    std::unique_ptr<InstrumentSession> controller_;
    int range_ = 0;
};

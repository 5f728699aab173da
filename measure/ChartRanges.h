#pragma once

#include "measure/ChartMath.h"

// The configured chart ranges worked out from the device's settings when a measurement starts.
// Each chart falls back on its configured range when it has no received value.
class ChartRanges {
public:
    // Signal kinds of an analog input, by the index of SignalIN1 / SignalIN2.
    static constexpr int kSignal0To20mA = 0;
    static constexpr int kSignal4To20mA = 1;
    static constexpr int kSignal0To10V = 2;

    // +-120 for the +-100 Pa variant (MeasRange index 1), otherwise +-250; a hundredth of that
    // when the pressure is shown in hPa or mbar (UnitP index above 0).
    static ValueRange pressureRange(int measRangeIndex, int unitPIndex);

    // True when input 1 or 2 measures an external pressure for the given ExtPress index
    // (1: only at IN-2, 2: only at IN-1, 3: at both).
    static bool inputMeasuresPressure(int input, int extPressIndex);

    // The scaling values of an input, in hundreds for a pressure input shown in hPa or mbar
    // (unit index above 0), widened to the over-range of its signal.
    static ValueRange inputRange(double scalingDown, double scalingUp, bool measuresPressure,
                                 int unitIndex, int signalIndex);

    // The range an input signal can reach beyond its scaling: 0-20 mA up to 21 mA, 4-20 mA
    // from 3 to 21 mA, 0-10 V up to 11 V. Other signal indexes leave the range as it is.
    static ValueRange widenForSignal(const ValueRange &scaling, int signalIndex);
};

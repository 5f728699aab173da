#pragma once

#include "measure/ChartMath.h"

#include <QString>
#include <array>

class TformMain;

// The queries a measurement starts with. They bring ExtPress, the unit lists, the measuring
// range, the input signals and the input scaling edits in line with the device, and give the
// configured chart ranges (pressure, IN-1, IN-2). A reply that does not convert throws the
// conversion error.
class StartQueries {
public:
    static std::array<ValueRange, 3> run(TformMain &window);

private:
    static void readUnits(TformMain &window);
    static ValueRange readInput(TformMain &window, int input);
    // The reply to "?" + name without every occurrence of name.
    static QString valueOf(TformMain &window, const QString &name);
    static int queryIndex(TformMain &window, const QString &name);
    static int queryIndexWithoutBlanks(TformMain &window, const QString &name);
    static double queryScaling(TformMain &window, const QString &name);
};

#include "teach/DaSearch.h"

#include <cmath>

int DaSearch::halveStep(int step) {
    if (step < 0)
        return -halveStep(-step);
    int half = step / 2;
    if (step % 2 != 0 && half % 2 != 0)
        ++half;
    return half == 0 ? 1 : half;
}

double DaSearch::tolerance(const Point &point) {
    return (point.index == 0 && point.wideToleranceAtZero) ? WideTolerance : Tolerance;
}

DaSearch::Result DaSearch::run(Driver &driver, const Point &point) {
    int da = point.startDa;
    int step = point.startStep;
    bool stepOneReached = false;
    bool done = false;
    int passes = 0;
    do {
        const double measured = driver.measureAt(da);
        ++passes;
        driver.passMeasured(da, measured);
        const double deviation = std::fabs(measured - point.target);
        step = halveStep(step);
        if (measured < point.target)
            da += step;
        else if (measured > point.target)
            da -= step;
        else if (measured == point.target)
            break;
        if (step == 1) {
            if (stepOneReached)
                done = deviation < tolerance(point);
            else
                stepOneReached = true;
        }
    } while (!driver.abortRequested() && !done);
    return {da, driver.abortRequested(), passes};
}

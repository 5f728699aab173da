#pragma once

// Finds the DA value at which a measured output meets its target: the output is set, measured,
// and the DA value moved towards the target with a step halved in every pass.
class DaSearch {
public:
    static constexpr double Tolerance = 0.004;
    static constexpr double WideTolerance = 0.02;

    // What one pass needs from the outside world.
    class Driver {
    public:
        virtual ~Driver() = default;
        // Apply the DA value, let the output settle and return the measured value.
        virtual double measureAt(int da) = 0;
        // Called after every measurement with the DA value just measured.
        virtual void passMeasured(int da, double measured) = 0;
        virtual bool abortRequested() = 0;
    };

    struct Point {
        int index;     // point index; index 0 may use the wide tolerance
        double target; // mA or V
        int startDa;
        int startStep;
        bool wideToleranceAtZero; // the output search has it, the input search does not
    };

    struct Result {
        int da;       // DA value after the last adjustment, or the exactly matching one
        bool aborted; // the abort flag was set when the search ended: store nothing
        int passes;
    };

    // Half the step rounded to the nearest integer, halves to the even neighbour; 0 becomes 1.
    static int halveStep(int step);
    static double tolerance(const Point &point);
    // Runs until the point is within tolerance (tested from the second pass with step 1 on), the
    // measurement meets the target exactly, or an abort is requested after a pass.
    static Result run(Driver &driver, const Point &point);
};

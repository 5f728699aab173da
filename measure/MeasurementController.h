#pragma once

class TformMain;

// The measurement mode of the "Messwerte" page: start, stop, the polling tick, the charts and
// the log lines. Owned by the main window.
class MeasurementController {
public:
    explicit MeasurementController(TformMain &window);

    void drawEmptyCharts();
    // Part of the global failure handling: the mode ends without talking to the device.
    void stopAfterFailure();

private:
    TformMain &window_;
};

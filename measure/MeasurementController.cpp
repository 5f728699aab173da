#include "measure/MeasurementController.h"

#include "app/TformMain.h"

#include <QPushButton>
#include <QTimer>

MeasurementController::MeasurementController(TformMain &window) : window_(window) {}

void MeasurementController::drawEmptyCharts() {}

void MeasurementController::stopAfterFailure()
{
    window_.TimerMessung->stop();
    window_.state.measurementRunning = false;
    window_.ctl<QPushButton>(QStringLiteral("ButtonConnection"))->setText(window_.msg(34));
}

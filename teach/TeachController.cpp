#include "teach/TeachController.h"

#include "app/TformMain.h"

TeachController::TeachController(TformMain &window) : window_(window) {}

void TeachController::releaseAfterFailure() { window_.setTeachButtonsIdle(); }

// Handlers of the field re-calibration.
#include "app/TformMain.h"

void TformMain::ButtonCalibPlusClick() {}
void TformMain::ButtonCalibMinusClick() {}
void TformMain::ButtonCalibCancelClick() {}
void TformMain::Nachteachen() {}
void TformMain::KalibrierungLoeschen() {}

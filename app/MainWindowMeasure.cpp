// Handlers of the "Messwerte" page: measurement mode, charts, log, zeroing and reset.
#include "app/TformMain.h"

void TformMain::ButtonMessungStartenClick() {}
void TformMain::TimerMessungEvent() {}
void TformMain::MessintervallChange() {}
void TformMain::DiagrammKonfiguration() {}
void TformMain::ButtonClearLogClick() {}
void TformMain::ButtonSaveLogClick() {}
void TformMain::ButtonNullierenClick() {}
void TformMain::ButtonResetClick() {}

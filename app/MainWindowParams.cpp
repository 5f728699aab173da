// Handlers of the device settings: transfers, configuration files, unit conversion.
#include "app/TformMain.h"

void TformMain::ButtonLadenClick() {}
void TformMain::AlleParameterLaden() {}
void TformMain::ButtonAbortConfigClick() { state.abortFlag = true; }
void TformMain::ButtonSendenClick() {}
void TformMain::AlleParameterSenden() {}
void TformMain::ButtonWE100PaClick() {}
void TformMain::ButtonWE250PaClick() {}
void TformMain::ExtPressChanged() {}

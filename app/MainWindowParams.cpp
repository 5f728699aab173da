// Handlers of the device settings: transfers and the external-pressure mode.
#include "app/TformMain.h"
#include "params/ParamTransfer.h"

void TformMain::ButtonLadenClick() {
    ParamTransfer(*this).loadClick();
}
void TformMain::AlleParameterLaden() {
    ParamTransfer(*this).loadAll();
}
void TformMain::ButtonAbortConfigClick() {
    state.abortFlag = true;
}
void TformMain::ButtonSendenClick() {
    ParamTransfer(*this).sendClick();
}
void TformMain::AlleParameterSenden() {
    ParamTransfer(*this).sendAll();
}
void TformMain::ButtonWE100PaClick() {
    ParamTransfer(*this).factorySettings(1);
}
void TformMain::ButtonWE250PaClick() {
    ParamTransfer(*this).factorySettings(0);
}
void TformMain::ExtPressChanged() {
    ParamTransfer(*this).extPressChanged();
}

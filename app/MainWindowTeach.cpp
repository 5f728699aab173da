// Handlers of the production teach: teach run, teach values, teach files, instrument settings.
#include "app/TformMain.h"

#include "teach/TformOptions.h"

void TformMain::ButtonTeachClick() {}
void TformMain::ButtonAbortTeachClick() {}
void TformMain::ButtonLoadTeachClick() {}
void TformMain::ButtonSendTeachClick() {}
void TformMain::MeasRange1Change() {}
void TformMain::LoadTeachwerteClick() {}
void TformMain::SaveTeachwerteClick() {}

void TformMain::ButtonOptionsClick() { prompts().execModal(*formOptions()); }

void TformMain::GetGPIBConfigData()
{
    TformOptions::readStored(executableDir(), state.gpib);
    formOptions()->FormCreate();
}

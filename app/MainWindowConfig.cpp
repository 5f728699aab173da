// Handlers of the configuration files and the unit-conversion dialog.
#include "app/TformMain.h"

void TformMain::LoadConfClick() {}
void TformMain::SaveConfClick() {}
void TformMain::PressureFieldDblClick(QLineEdit *) {}

// Handlers of the device settings: transfers and the external-pressure mode. The transfers
// work on the settings model; here the window takes its controls and shows where a refused
// value sits.
#include "app/TformMain.h"
#include "params/ParamCodec.h"
#include "params/ParamTable.h"
#include "params/SettingsModel.h"
#include "params/SettingsTransfer.h"

#include <QComboBox>
#include <QTabWidget>

// A setting came from the device or a file: the teach page shows the range it holds, and the
// charts follow the units and the mode.
void TformMain::settingArrived(const ParamDef &row) {
    const QLatin1String name(row.name);
    if (name == QLatin1String("MeasRange")) {
        auto *teachRange = ctl<QComboBox>(QStringLiteral("MeasRange1"));
        const int range = settings_->choice(row);
        teachRange->setCurrentIndex(range < teachRange->count() ? range : -1);
    } else if (name == QLatin1String("UnitIN2")) {
        DiagrammKonfiguration();
    }
}

SettingsTransfer TformMain::settingsTransfer() {
    SettingsTransfer::Observer observer;
    observer.rowLoaded = [this](const ParamDef &row) { settingArrived(row); };
    observer.refused = [this](const ParamDef &row, bool first) {
        if (first)
            state.transferFailureMarker = ParamCodec::refusalMarker(row);
    };
    observer.showField = [this](const ParamDef &row) {
        PageControl->setCurrentIndex(ParamTable::pageIndex(QString::fromLatin1(row.sheet)));
    };
    observer.focusField = [this](const ParamDef &row) { settingsControl(row)->setFocus(); };
    observer.ended = [this] { endAction(); };
    return SettingsTransfer(*runner_, *settings_, observer);
}

bool TformMain::beginTransfer(int progressMaximum) {
    if (refuseWhileMeasuring())
        return false;
    runner_->clearAbort();
    beginAction(DeviceAction::Transfer);
    state.transferFailureMarker = 0;
    settingsTransfer().begin(progressMaximum);
    return true;
}

void TformMain::ButtonLadenClick() {
    if (beginTransfer(SettingsTransfer::kLoadProgress))
        AlleParameterLaden();
}
void TformMain::AlleParameterLaden() {
    settingsTransfer().loadAll();
    state.settingsOrigin = SettingsOrigin::Device;
    state.transferFailureMarker = 0;
}
void TformMain::ButtonAbortConfigClick() {
    runner_->requestAbort();
}
void TformMain::ButtonSendenClick() {
    if (refuseWhileMeasuring())
        return;
    settingsTransfer().refuseUnsafeValues();
    if (beginTransfer(SettingsTransfer::kLoadProgress))
        AlleParameterSenden();
}
void TformMain::AlleParameterSenden() {
    settingsTransfer().sendAll();
    // The device holds what the pages show.
    state.settingsOrigin = SettingsOrigin::Device;
    state.transferFailureMarker = 0;
}
void TformMain::ButtonWE100PaClick() {
    if (beginTransfer(SettingsTransfer::kFactoryProgress)) {
        settingsTransfer().factorySettings(1);
        state.settingsOrigin = SettingsOrigin::Device;
    }
}
void TformMain::ButtonWE250PaClick() {
    if (beginTransfer(SettingsTransfer::kFactoryProgress)) {
        settingsTransfer().factorySettings(0);
        state.settingsOrigin = SettingsOrigin::Device;
    }
}
void TformMain::ExtPressChanged() {
    settings_->extPressPicked();
}

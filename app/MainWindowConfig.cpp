// Handlers of the configuration files and the unit-conversion dialog.
#include "app/TformMain.h"
#include "params/ConfigFile.h"
#include "params/SettingsModel.h"
#include "params/ui/TformBerFaktor.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

// The file dialogs start beside the executable, unless the tool is installed read-only.
QString configDialogDir(const TformMain &w) {
    const QFileInfo dir(w.executableDir());
    return dir.isDir() && dir.isWritable() ? w.executableDir() : QDir::homePath();
}

} // namespace

void TformMain::SaveConfClick() {
    const QString path = prompts().saveFileName(
        this, configDialogDir(*this), ConfigFile::DefaultSaveName, ConfigFile::Filter, false);
    if (path.isEmpty())
        return;
    ConfigFile::save(path, ConfigFile::fromModel(*settings_));
    setStatus(msg(CatalogueEntry::DataSaved));
}

// A file that cannot serve as a configuration is reported and changes nothing; it is no
// device failure, so a running measurement goes on.
void TformMain::LoadConfClick() {
    const QString path =
        prompts().openFileName(this, configDialogDir(*this), QString(), ConfigFile::Filter);
    if (path.isEmpty())
        return;
    const ConfigFile::LoadResult file = ConfigFile::load(path);
    if (!file.ok()) {
        prompts().showError(this, file.error);
        return;
    }
    ConfigFile::applyTo(*settings_, file.values,
                        [this](const ParamDef &row) { settingArrived(row); });
    state.settingsOrigin = SettingsOrigin::File;
    state.settingsFile = path;
    setStatus(msg(CatalogueEntry::DataLoaded));
}

void TformMain::PressureFieldDblClick(QLineEdit *field) {
    state.unitConversionResult.clear();
    prompts().execModal(*formBerFaktor());
    // The dialog is closed now, however it ended; without a result that means "Err".
    formBerFaktor()->FormClose();
    if (state.unitConversionResult != QLatin1String("Err"))
        field->setText(state.unitConversionResult);
}

// Handlers of the configuration files and the unit-conversion dialog.
#include "app/TformMain.h"
#include "i18n/LanguageApplier.h"
#include "params/ConfigFile.h"
#include "params/ParamCodec.h"
#include "params/TformBerFaktor.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

constexpr int kMsgLoaded = 38;
constexpr int kMsgSaved = 59;

// The file dialogs start beside the executable, unless the tool is installed read-only.
QString configDialogDir(const TformMain &w) {
    const QFileInfo dir(w.executableDir());
    return dir.isDir() && dir.isWritable() ? w.executableDir() : QDir::homePath();
}

// 1 or 2 for the unit lists of the inputs, whose items change with the external-pressure mode.
int unitInput(const ParamDef &row) {
    const QLatin1String name(row.name);
    return name == QLatin1String("UnitIN1") ? 1 : name == QLatin1String("UnitIN2") ? 2 : 0;
}

// An index outside the list leaves it without selection.
void select(QComboBox *combo, int index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

ConfigValues collectConfig(const TformMain &w) {
    ConfigValues values;
    const int mode = w.ctl<QComboBox>(QStringLiteral("ExtPress"))->currentIndex();
    for (const ParamDef *row : ConfigFile::rows()) {
        const QString name = QString::fromLatin1(row->name);
        const QString control = QString::fromLatin1(row->control);
        if (ConfigFile::isText(*row)) {
            values.texts.insert(name, w.ctl<QLineEdit>(control)->text());
            continue;
        }
        const int index = w.ctl<QComboBox>(control)->currentIndex();
        const int input = unitInput(*row);
        values.choices.insert(name, input ? ParamCodec::unitValue(input, mode, index) : index);
    }
    return values;
}

// Fills the controls in file order. Selections made here never run the change handlers, which
// only answer a pick by the user.
void applyConfig(TformMain &w, const ConfigValues &values) {
    for (const ParamDef *row : ConfigFile::rows()) {
        const QString name = QString::fromLatin1(row->name);
        const QString control = QString::fromLatin1(row->control);
        if (ConfigFile::isText(*row)) {
            w.ctl<QLineEdit>(control)->setText(values.texts.value(name));
            continue;
        }
        const int value = values.choices.value(name);
        if (const int input = unitInput(*row)) {
            select(w.ctl<QComboBox>(control),
                   ParamCodec::unitIndex(input, w.state.previousExtPressMode, value));
        } else if (name == QLatin1String("MeasRange")) {
            auto *teachRange = w.ctl<QComboBox>(QStringLiteral("MeasRange1"));
            select(teachRange, value);
            select(w.ctl<QComboBox>(control), teachRange->currentIndex());
        } else {
            select(w.ctl<QComboBox>(control), value);
        }
        if (name == QLatin1String("ExtPress")) {
            w.state.previousExtPressMode = w.ctl<QComboBox>(control)->currentIndex();
            LanguageApplier::rebuildInputUnits(w, 1, w.state.previousExtPressMode);
            LanguageApplier::rebuildInputUnits(w, 2, w.state.previousExtPressMode);
        } else if (name == QLatin1String("UnitIN2")) {
            w.DiagrammKonfiguration();
        }
    }
}

} // namespace

void TformMain::SaveConfClick() {
    const QString path = prompts().saveFileName(
        this, configDialogDir(*this), ConfigFile::DefaultSaveName, ConfigFile::Filter, false);
    if (path.isEmpty())
        return;
    ConfigFile::save(path, collectConfig(*this));
    setStatus(msg(kMsgSaved));
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
    applyConfig(*this, file.values);
    setStatus(msg(kMsgLoaded));
}

void TformMain::PressureFieldDblClick(QLineEdit *field) {
    state.unitConversionResult.clear();
    prompts().execModal(*formBerFaktor());
    // The dialog is closed now, however it ended; without a result that means "Err".
    formBerFaktor()->FormClose();
    if (state.unitConversionResult != QLatin1String("Err"))
        field->setText(state.unitConversionResult);
}

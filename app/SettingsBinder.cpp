#include "app/SettingsBinder.h"

#include "app/TformMain.h"
#include "i18n/SettingTexts.h"
#include "params/SettingsModel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {
// An index outside the list leaves it without selection.
void select(QComboBox *list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}
} // namespace

SettingsBinder::SettingsBinder(TformMain &window, SettingsModel &model)
    : QObject(&window), window_(window), model_(model) {
    bound_.resize(SettingsModel::rowCount());
    for (int i = 0; i < SettingsModel::rowCount(); ++i) {
        const ParamDef &row = SettingsModel::row(i);
        const QString name = QString::fromLatin1(row.control);
        Bound &b = bound_[i];
        switch (row.kind) {
        case ParamKind::Decimal:
        case ParamKind::Password:
            b.edit = window.ctl<QLineEdit>(name);
            connect(b.edit, &QLineEdit::textChanged, this, [this, i] { takeFromControl(i); });
            break;
        case ParamKind::Choice:
            b.list = window.ctl<QComboBox>(name);
            connect(b.list, qOverload<int>(&QComboBox::currentIndexChanged), this,
                    [this, i] { takeFromControl(i); });
            break;
        case ParamKind::Address:
            b.label = window.ctl<QLabel>(name);
            break;
        }
        takeFromControl(i);
    }
    connect(&model_, &SettingsModel::valueChanged, this, &SettingsBinder::showInControl);
    connect(&model_, &SettingsModel::unitListRebuilt, this, &SettingsBinder::rebuildUnitList);
}

QWidget *SettingsBinder::control(int index) const {
    const Bound &b = bound_.at(index);
    if (b.edit)
        return b.edit;
    if (b.list)
        return b.list;
    return b.label;
}

void SettingsBinder::takeFromControl(int index) {
    if (showing_)
        return;
    const ParamDef &row = SettingsModel::row(index);
    const Bound &b = bound_.at(index);
    if (b.edit)
        model_.setText(row, b.edit->text());
    else if (b.list)
        model_.setChoice(row, b.list->currentIndex());
    else
        model_.setText(row, b.label->text());
}

void SettingsBinder::showInControl(int index) {
    const Bound &b = bound_.at(index);
    const ParamDef &row = SettingsModel::row(index);
    if ((b.edit && b.edit->text() == model_.text(row)) ||
        (b.list && b.list->currentIndex() == model_.choice(row)))
        return; // the change came from the control
    showing_ = true;
    if (b.edit)
        b.edit->setText(model_.text(row));
    else if (b.list)
        select(b.list, model_.choice(row));
    else
        b.label->setText(model_.text(row));
    showing_ = false;
}

void SettingsBinder::rebuildUnitList(int input) {
    // The pressure units when the input measures pressure, else "°C" (IN-1) or the humidity
    // unit (IN-2), and the off-text; nothing selected until the model says.
    showing_ = true;
    QComboBox *list = bound_
                          .at(SettingsModel::indexOf(*ParamTable::find(
                              input == 1 ? QStringLiteral("UnitIN1") : QStringLiteral("UnitIN2"))))
                          .list;
    list->clear();
    list->addItems(
        SettingTexts::inputUnitItems(input, model_.unitListMode(), window_.state.language));
    list->setCurrentIndex(-1);
    showing_ = false;
}

#include "params/SettingsModel.h"

#include "params/ParamCodec.h"

namespace {
bool isNamed(const ParamDef &row, const char *name) {
    return qstrcmp(row.name, name) == 0;
}
} // namespace

SettingsModel::SettingsModel(QObject *parent)
    : QObject(parent), texts_(rowCount()), choices_(rowCount(), -1) {}

int SettingsModel::rowCount() {
    return int(ParamTable::rows().size());
}

int SettingsModel::indexOf(const ParamDef &row) {
    return int(&row - ParamTable::rows().data());
}

const ParamDef &SettingsModel::row(int index) {
    return ParamTable::rows().at(std::size_t(index));
}

int SettingsModel::unitInput(const ParamDef &row) {
    return isNamed(row, "UnitIN1") ? 1 : isNamed(row, "UnitIN2") ? 2 : 0;
}

QString SettingsModel::text(const ParamDef &row) const {
    return texts_.at(indexOf(row));
}

void SettingsModel::setText(const ParamDef &row, const QString &text) {
    const int index = indexOf(row);
    if (texts_[index] == text)
        return;
    texts_[index] = text;
    emit valueChanged(index);
}

int SettingsModel::choice(const ParamDef &row) const {
    return choices_.at(indexOf(row));
}

void SettingsModel::setChoice(const ParamDef &row, int choice) {
    const int index = indexOf(row);
    const int selected = choice >= 0 && choice < itemCount(row) ? choice : -1;
    if (choices_[index] == selected)
        return;
    choices_[index] = selected;
    emit valueChanged(index);
}

int SettingsModel::itemCount(const ParamDef &row) const {
    if (const int input = unitInput(row)) {
        const bool pressure = input == 1 ? ParamCodec::in1MeasuresPressure(unitListMode_)
                                         : ParamCodec::in2MeasuresPressure(unitListMode_);
        return pressure ? 4 : 2; // Pa, hPa, mbar, off / the input's unit, off
    }
    return int(ParamTable::designItems(QString::fromLatin1(row.control)).size());
}

const ParamDef &SettingsModel::extPress() const {
    return *ParamTable::find(QStringLiteral("ExtPress"));
}

int SettingsModel::deviceChoice(const ParamDef &row) const {
    const int selected = choice(row);
    if (const int input = unitInput(row))
        return ParamCodec::unitValue(input, choice(extPress()), selected);
    return selected;
}

void SettingsModel::setDeviceChoice(const ParamDef &row, int value) {
    if (const int input = unitInput(row))
        setChoice(row, ParamCodec::unitIndex(input, unitListMode_, value));
    else
        setChoice(row, value);
}

void SettingsModel::rebuildUnitLists(int mode) {
    unitListMode_ = mode;
    rebuildUnitList(1, -1);
    rebuildUnitList(2, -1);
}

void SettingsModel::extPressPicked() {
    const int mode = choice(extPress());
    const ParamCodec::UnitListRebuild rebuild = ParamCodec::extPressRebuild(unitListMode_, mode);
    unitListMode_ = mode;
    if (rebuild.in1)
        rebuildUnitList(1, 0);
    if (rebuild.in2)
        rebuildUnitList(2, 0);
}

void SettingsModel::rebuildUnitList(int input, int selected) {
    const ParamDef &unit =
        *ParamTable::find(input == 1 ? QStringLiteral("UnitIN1") : QStringLiteral("UnitIN2"));
    const int index = indexOf(unit);
    choices_[index] = -1;
    emit unitListRebuilt(input);
    choices_[index] = selected < itemCount(unit) ? selected : -1;
    emit valueChanged(index);
}

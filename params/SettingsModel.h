#pragma once

// params/: the 50 device settings: their table, the codec between fields and the device's
// values, the model the pages and zelctl share, the load and send transfers, configuration
// files and the unit conversion. params/ui/ builds the settings pages and the conversion
// dialog on this model.

#include "params/ParamTable.h"

#include <QObject>
#include <QString>
#include <QVector>

// The 50 device settings as the settings pages hold them: the text of a field as typed (the
// address as shown), and the selected row of a list, -1 for no selection. The unit lists of
// IN-1 and IN-2 change their items with the external-pressure mode; the model keeps the mode
// they were last built for, so a list row always means what the list showed.
class SettingsModel : public QObject {
    Q_OBJECT
public:
    explicit SettingsModel(QObject *parent = nullptr);

    static int rowCount();
    static int indexOf(const ParamDef &row);
    static const ParamDef &row(int index);
    // 1 or 2 for the unit lists of the inputs, else 0.
    static int unitInput(const ParamDef &row);

    QString text(const ParamDef &row) const;
    void setText(const ParamDef &row, const QString &text);
    int choice(const ParamDef &row) const;
    // A row outside the list leaves it without selection, as a list control does.
    void setChoice(const ParamDef &row, int index);
    int itemCount(const ParamDef &row) const;

    // The value of a choice as the device codes it (unit lists mapped through the mode
    // selected now).
    int deviceChoice(const ParamDef &row) const;
    // Selects the list row of a device value (unit lists through the mode they were built for).
    void setDeviceChoice(const ParamDef &row, int value);

    int unitListMode() const { return unitListMode_; }
    // Builds both unit lists for `mode`, without selection.
    void rebuildUnitLists(int mode);
    // The user picked the selected external-pressure mode: a list whose input changes between
    // pressure and temperature or humidity is built anew with its first row selected.
    void extPressPicked();

    const ParamDef &extPress() const;

signals:
    void valueChanged(int index);
    // The items of unit list `input` (1 or 2) were built anew for unitListMode().
    void unitListRebuilt(int input);

private:
    void rebuildUnitList(int input, int selected);

    QVector<QString> texts_;
    QVector<int> choices_;
    int unitListMode_ = 0;
};

#pragma once

#include <QObject>
#include <QVector>

class QComboBox;
class QLabel;
class QLineEdit;
class SettingsModel;
class TformMain;

// Keeps the controls of the settings pages and the settings model in step, both ways: what the
// user types or picks goes into the model, and what the device logic puts into the model shows
// in the controls at once. Each control is looked up once, here.
class SettingsBinder : public QObject {
    Q_OBJECT
public:
    SettingsBinder(TformMain &window, SettingsModel &model);

    QWidget *control(int index) const;

private:
    struct Bound {
        QLineEdit *edit = nullptr;
        QComboBox *list = nullptr;
        QLabel *label = nullptr;
    };

    void takeFromControl(int index);
    void showInControl(int index);
    void rebuildUnitList(int input);

    TformMain &window_;
    SettingsModel &model_;
    QVector<Bound> bound_;
    bool showing_ = false; // a control is being set from the model
};

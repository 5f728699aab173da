#pragma once

// params/ui/: the widgets of the settings: the three pages built from the parameter table and
// the unit-conversion dialog.

#include <QList>
#include <functional>

class QLineEdit;
class QObject;
class QWidget;

// Builds the three settings pages (found by name in `window`) from the parameter table: a group box
// per group, a caption label and a control per setting, with the designed texts and items.
class SettingsPagesBuilder {
public:
    static void build(QWidget &window);
    // The 15 edit fields that take a pressure in Pa.
    static QList<QLineEdit *> pressureFields(const QWidget &window);
    // Calls `action` when `field` is double-clicked.
    static void onDoubleClick(QLineEdit *field, QObject *context, std::function<void()> action);

private:
    static void orderTabsByPlace(QWidget &window);
};

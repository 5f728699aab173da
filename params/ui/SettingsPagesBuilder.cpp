#include "params/ui/SettingsPagesBuilder.h"

#include "base/ui/Controls.h"
#include "base/ui/ScrolledPage.h"
#include "params/ParamTable.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <utility>

namespace {

// Relays double-clicks on an edit field (QLineEdit has no signal for them).
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject *parent, std::function<void()> action)
        : QObject(parent), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::MouseButtonDblClick) {
            action_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> action_;
};

QWidget *makeControl(const ParamDef &row, QWidget *parent) {
    const QString name = QString::fromLatin1(row.control);
    QWidget *control = nullptr;
    switch (row.kind) {
    case ParamKind::Decimal:
        control = new QLineEdit(parent);
        break;
    case ParamKind::Password: {
        auto *edit = new QLineEdit(parent);
        // Typing is limited to four characters, but a text the device or a file reports is
        // shown whole, as it stands.
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral(".{0,4}")), edit));
        edit->setToolTip(QStringLiteral("vierstellige Zahl (keine Eingabe -> kein Passwort)"));
        control = edit;
        break;
    }
    case ParamKind::Choice: {
        auto *combo = new QComboBox(parent);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        // Never narrower than its longest item in the current language (the layout would
        // rather wrap the row), never squeezed in height.
        combo->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        combo->addItems(ParamTable::designItems(name));
        combo->setCurrentIndex(-1);
        control = combo;
        break;
    }
    case ParamKind::Address: {
        auto *label = new QLabel(QStringLiteral("0"), parent);
        label->setTextFormat(Qt::PlainText); // the device's text as it stands
        control = label;
        break;
    }
    }
    control->setObjectName(name);
    return control;
}

} // namespace

void SettingsPagesBuilder::build(QWidget &window) {
    QMap<QString, QGridLayout *> pageLayouts;
    QMap<QString, QFormLayout *> groupForms;
    for (const ParamDef &row : ParamTable::rows()) {
        const QString sheetName = QString::fromLatin1(row.sheet);
        const QString groupName = QString::fromLatin1(row.groupBox);
        auto *sheet = findControl<QWidget>(window, sheetName);
        if (!pageLayouts.contains(sheetName)) {
            auto *grid = new QGridLayout(ScrolledPage::content(sheet));
            grid->setAlignment(Qt::AlignTop);
            ScrolledPage::keepRowsWhole(grid);
            pageLayouts.insert(sheetName, grid);
        }
        if (!groupForms.contains(groupName)) {
            auto *group =
                new QGroupBox(ParamTable::groupBoxCaption(groupName), ScrolledPage::content(sheet));
            group->setObjectName(groupName);
            auto *form = new QFormLayout(group);
            form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
            // Long captions go above their field instead of being cut off.
            form->setRowWrapPolicy(QFormLayout::WrapLongRows);
            groupForms.insert(groupName, form);
            const GroupPlace place = ParamTable::groupPlace(groupName);
            pageLayouts.value(sheetName)->addWidget(group, place.row, place.column, 1,
                                                    place.columnSpan);
        }
        QFormLayout *form = groupForms.value(groupName);
        QWidget *control = makeControl(row, form->parentWidget());
        if (*row.label) {
            auto *label = new QLabel(QString::fromUtf8(row.labelCaption), form->parentWidget());
            label->setObjectName(QString::fromLatin1(row.label));
            form->addRow(label, control);
        } else {
            form->addRow(control);
        }
    }
    orderTabsByPlace(window);
}

// Tab walks the groups as they sit on the page (row by row, left to right) and the fields of
// a group from top to bottom, not in the order of the parameter table.
void SettingsPagesBuilder::orderTabsByPlace(QWidget &window) {
    QList<const ParamDef *> rows;
    for (const ParamDef &row : ParamTable::rows())
        rows.append(&row);
    std::stable_sort(rows.begin(), rows.end(), [](const ParamDef *a, const ParamDef *b) {
        const QString sa = QString::fromLatin1(a->sheet), sb = QString::fromLatin1(b->sheet);
        if (sa != sb)
            return ParamTable::pageIndex(sa) < ParamTable::pageIndex(sb);
        const GroupPlace pa = ParamTable::groupPlace(QString::fromLatin1(a->groupBox));
        const GroupPlace pb = ParamTable::groupPlace(QString::fromLatin1(b->groupBox));
        return std::make_pair(pa.row, pa.column) < std::make_pair(pb.row, pb.column);
    });
    QWidget *previous = nullptr;
    for (const ParamDef *row : rows) {
        auto *control = findControl<QWidget>(window, QString::fromLatin1(row->control));
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

QList<QLineEdit *> SettingsPagesBuilder::pressureFields(const QWidget &window) {
    QList<QLineEdit *> fields;
    for (const ParamDef &row : ParamTable::rows()) {
        if (row.pressureField)
            fields.append(findControl<QLineEdit>(window, QString::fromLatin1(row.control)));
    }
    return fields;
}

void SettingsPagesBuilder::onDoubleClick(QLineEdit *field, QObject *context,
                                         std::function<void()> action) {
    field->installEventFilter(new DoubleClickFilter(context, std::move(action)));
}

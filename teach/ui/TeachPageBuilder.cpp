#include "teach/ui/TeachPageBuilder.h"

#include "base/ui/ScrolledPage.h"
#include "teach/TeachValueTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct GroupPlace {
    TeachGroup group;
    const char *objectName;
    const char *title;
    int column;
};

const GroupPlace kGroups[] = {
    {TeachGroup::Pressure, "GroupBoxTeachDruck", "int. Druck (Stützstelle / Korrektur)", 0},
    {TeachGroup::OutD, "GroupBoxTeachOUTD", "OUT-D", 0},
    {TeachGroup::In1, "GroupBoxTeachIN1", "IN-1", 1},
    {TeachGroup::In2, "GroupBoxTeachIN2", "IN-2", 2},
};

QLabel *valueLabel(const char *name, QWidget *parent) {
    auto *label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText); // captions from files are shown as they stand
    label->setMinimumWidth(44);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// The correction value that shares the row of a pressure support point.
const TeachValueRow *correctionOf(const TeachValueRow &row) {
    const QString name = QString::fromLatin1(row.valueLabel) + QStringLiteral("korr");
    return TeachValueTable::findByValueLabel(name);
}

QGroupBox *buildGroup(const GroupPlace &place, QWidget *parent) {
    auto *box = new QGroupBox(QString::fromUtf8(place.title), parent);
    box->setObjectName(QString::fromLatin1(place.objectName));
    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(1);
    int line = 0;
    for (const TeachValueRow &row : TeachValueTable::rows()) {
        const bool inGroup = row.group == place.group || (place.group == TeachGroup::Pressure &&
                                                          row.group == TeachGroup::Recalibration);
        if (!inGroup)
            continue;
        auto *caption = new QLabel(TeachValueTable::startCaption(row), box);
        caption->setObjectName(QString::fromLatin1(row.captionLabel));
        grid->addWidget(caption, line, 0);
        grid->addWidget(valueLabel(row.valueLabel, box), line, 1);
        if (const TeachValueRow *correction = correctionOf(row))
            grid->addWidget(valueLabel(correction->valueLabel, box), line, 2);
        ++line;
    }
    return box;
}

} // namespace

void TeachPageBuilder::build(QWidget *sheet) {
    QWidget *page = ScrolledPage::content(sheet);
    auto *layout = new QVBoxLayout(page);
    auto *steering = new QGridLayout();
    const char *const boxes[][2] = {
        {"CheckBox_ALZ_vor_Teachen", "vor dem Teachen Auslieferungszustand herstellen"},
        {"CheckBox_intDruck", "int. Druck teachen"},
        {"CheckBox_OUT_Strom", "OUT-D Strom teachen"},
        {"CheckBox_OUT_Spannung", "OUT-D Spannung teachen"},
        {"CheckBox_IN1_Strom", "IN-1 Strom teachen"},
        {"CheckBox_IN1_Spannung", "IN-1 Spannung teachen"},
        {"CheckBox_IN2_Strom", "IN-2 Strom teachen"},
        {"CheckBox_IN2_Spannung", "IN-2 Spannung teachen"},
    };
    int index = 0;
    for (const auto &box : boxes) {
        auto *check = new QCheckBox(QString::fromUtf8(box[1]), page);
        check->setObjectName(QString::fromLatin1(box[0]));
        check->setChecked(true);
        if (index == 0)
            steering->addWidget(check, 0, 0, 1, 2);
        else
            steering->addWidget(check, 1 + (index - 1) / 2, (index - 1) % 2);
        ++index;
    }
    // The range and the run's buttons form a column of their own beside the options, so Tab
    // walks the options first and then this column.
    auto *actions = new QWidget(page);
    actions->setObjectName(QStringLiteral("TeachActions"));
    auto *column = new QVBoxLayout(actions);
    column->setContentsMargins(0, 0, 0, 0);
    auto *rangeLabel = new QLabel(QStringLiteral("Messbereich int. Druck:"), actions);
    rangeLabel->setObjectName(QStringLiteral("LabelMeasRange1"));
    auto *range = new QComboBox(actions);
    range->setObjectName(QStringLiteral("MeasRange1"));
    range->addItems({QStringLiteral("+/- 250 Pa"), QStringLiteral("+/- 100 Pa")});
    range->setCurrentIndex(-1);
    column->addWidget(rangeLabel);
    column->addWidget(range);
    const char *const buttons[][2] = {{"ButtonTeach", "Teach"},
                                      {"ButtonAbortTeach", "Abbrechen"},
                                      {"ButtonLoadTeach", "Stützstellen laden"},
                                      {"ButtonSendTeach", "Stützstellen senden"}};
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromUtf8(b[1]), actions);
        button->setObjectName(QString::fromLatin1(b[0]));
        column->addWidget(button);
    }
    column->addStretch(1);
    steering->addWidget(actions, 0, 2, 6, 1);
    page->findChild<QPushButton *>(QStringLiteral("ButtonAbortTeach"))->setEnabled(false);
    layout->addLayout(steering);

    auto *values = new QHBoxLayout();
    QVBoxLayout *columns[3] = {new QVBoxLayout(), new QVBoxLayout(), new QVBoxLayout()};
    for (const GroupPlace &place : kGroups)
        columns[place.column]->addWidget(buildGroup(place, page));
    for (QVBoxLayout *column : columns) {
        column->addStretch(1);
        values->addLayout(column);
    }
    layout->addLayout(values, 1);

    auto *list = new QListWidget(page);
    list->setObjectName(QStringLiteral("ListBox1"));
    list->setMaximumHeight(60);
    layout->addWidget(list);
}

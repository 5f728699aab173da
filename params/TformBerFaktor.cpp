#include "params/TformBerFaktor.h"

#include "app/TformMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TformBerFaktor::TformBerFaktor(TformMain &window) : QDialog(&window), window_(window)
{
    setObjectName(QStringLiteral("formBerFaktor"));
    setWindowTitle(QStringLiteral("Unit -> Pa"));
    setWindowFlag(Qt::Tool);
    auto *heading = new QLabel(QStringLiteral("Unit ->Pa"), this);
    heading->setObjectName(QStringLiteral("Label2"));
    auto *value = new QLineEdit(this);
    value->setObjectName(QStringLiteral("EDruck"));
    auto *unit = new QComboBox(this);
    unit->setObjectName(QStringLiteral("UnitD"));
    unit->setEditable(true);
    unit->addItems({"hPa", "kPa", "mbar", "mmH2O", "mmHg", "Psi", "inH2O", "inHg"});
    unit->setEditText(QStringLiteral("Unit"));
    auto *paste = new QPushButton(QStringLiteral("Paste"), this);
    paste->setObjectName(QStringLiteral("ButtonBerechn"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(value);
    layout->addWidget(unit);
    layout->addWidget(paste);
}

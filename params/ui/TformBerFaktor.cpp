#include "params/ui/TformBerFaktor.h"

#include "base/SharedState.h"
#include "params/UnitConversion.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TformBerFaktor::TformBerFaktor(QWidget *parent, SharedState &state, GuardedRun guarded)
    : QDialog(parent), state_(state), guarded_(std::move(guarded)) {
    setObjectName(QStringLiteral("formBerFaktor"));
    setWindowTitle(QStringLiteral("Unit -> Pa"));
    setWindowFlag(Qt::Tool);
    auto *heading = new QLabel(QStringLiteral("Unit ->Pa"), this);
    heading->setObjectName(QStringLiteral("Label2"));
    EDruck = new QLineEdit(this);
    EDruck->setObjectName(QStringLiteral("EDruck"));
    UnitD = new QComboBox(this);
    UnitD->setObjectName(QStringLiteral("UnitD"));
    UnitD->setEditable(true);
    UnitD->setInsertPolicy(QComboBox::NoInsert); // a typed unit must not grow the list
    UnitD->addItems({"hPa", "kPa", "mbar", "mmH2O", "mmHg", "Psi", "inH2O", "inHg"});
    UnitD->setEditText(QStringLiteral("Unit"));
    auto *paste = new QPushButton(QStringLiteral("Paste"), this);
    paste->setObjectName(QStringLiteral("ButtonBerechn"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(EDruck);
    layout->addWidget(UnitD);
    layout->addWidget(paste);

    connect(paste, &QPushButton::clicked, this,
            [this] { guarded_([this] { ButtonBerechnClick(); }); });
    connect(this, &QDialog::finished, this, &TformBerFaktor::FormClose);
}

void TformBerFaktor::ButtonBerechnClick() {
    const QString pascal =
        UnitConversion::toPascalText(EDruck->text(), UnitD->currentText(), state_.decimalSeparator);
    if (pascal.isEmpty())
        return;
    state_.unitConversionResult = pascal;
    accept();
}

void TformBerFaktor::FormClose() {
    if (state_.unitConversionResult.isEmpty())
        state_.unitConversionResult = QStringLiteral("Err");
}

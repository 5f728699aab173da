#include "teach/TformOptions.h"

#include "app/IniFile.h"
#include "app/SharedState.h"
#include "app/ToolSettings.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct SettingField {
    const char *section;
    const char *key;
    const char *edit;
    const char *caption;
    QString GpibSettings::*member;
};

const SettingField kFields[] = {
    {"IEEE", "GPIB1", "EGPIB1", "KMV700", &GpibSettings::GPIB1},
    {"IEEE", "GPIB2", "EGPIB2", "Agilent 34970A", &GpibSettings::GPIB2},
    {"Agilent", "Agilent_OUTD_Spg", "EditAgilent_OUTD_Spg",
     "OUT-D Spannung:", &GpibSettings::Agilent_OUTD_Spg},
    {"Agilent", "Agilent_OUTD_Strom", "EditAgilent_OUTD_Strom",
     "OUT-D Strom:", &GpibSettings::Agilent_OUTD_Strom},
    {"Agilent", "Agilent_IN1_2_Multiplexer", "EditAgilent_IN1_2_Multiplexer",
     "IN1/2 Multiplexer:", &GpibSettings::Agilent_IN1_2_Multiplexer},
    {"Agilent", "Agilent_IN1_2_Spg", "EditAgilent_IN1_2_Spg",
     "IN1/2 Spannung:", &GpibSettings::Agilent_IN1_2_Spg},
    {"Agilent", "Agilent_IN1_2_Spgmessung", "EditAgilent_IN1_2_Spgmessung",
     "IN1/2 Spannungsmessung:", &GpibSettings::Agilent_IN1_2_Spgmessung},
    {"Agilent", "Agilent_IN1_2_Strom", "EditAgilent_IN1_2_Strom",
     "IN1/2 Strom:", &GpibSettings::Agilent_IN1_2_Strom},
    {"Agilent", "Agilent_IN1_2_Strommessung", "EditAgilent_IN1_2_Strommessung",
     "IN1/2 Strommessung:", &GpibSettings::Agilent_IN1_2_Strommessung},
};

} // namespace

TformOptions::TformOptions(QWidget *parent, SharedState &state, const QString &toolSettingsDir,
                           GuardedRun guarded)
    : QDialog(parent), state_(state), toolSettingsDir_(toolSettingsDir),
      guarded_(std::move(guarded)) {
    setObjectName(QStringLiteral("formOptions"));
    setWindowTitle(QStringLiteral("Optionen"));
    // Fixed border with the system menu only: no help, minimise or maximise buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto *gpib = new QGroupBox(QStringLiteral("GPIB"), this);
    gpib->setObjectName(QStringLiteral("GroupBoxGPIB"));
    auto *gpibForm = new QFormLayout(gpib);
    auto *agilent = new QGroupBox(QStringLiteral("Agilent Messkanäle"), this);
    agilent->setObjectName(QStringLiteral("GroupBox2"));
    auto *agilentForm = new QFormLayout(agilent);
    for (const SettingField &field : kFields) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(field.edit));
        (QLatin1String(field.section) == QLatin1String("IEEE") ? gpibForm : agilentForm)
            ->addRow(QString::fromUtf8(field.caption), edit);
    }
    auto *simulation = new QCheckBox(
        QStringLiteral("ZEL wird simuliert, jeder Spg.- und Stromwert steht 5 Sek. an"), this);
    simulation->setObjectName(QStringLiteral("ZEL_Simulation"));
    auto *daValues = new QCheckBox(
        QStringLiteral("im Teach-Fenster bei IN1/2 DA-Werte statt ZEL-Werte anzeigen"), this);
    daValues->setObjectName(QStringLiteral("DA_Werte_statt_ZEL_Werte"));
    auto *save = new QPushButton(QStringLiteral("Speichern"), this);
    save->setObjectName(QStringLiteral("ButtonSave"));
    auto *abort = new QPushButton(QStringLiteral("Abbrechen"), this);
    abort->setObjectName(QStringLiteral("ButtonAbort"));
    connect(save, &QPushButton::clicked, this, [this] { guarded_([this] { ButtonSaveClick(); }); });
    connect(abort, &QPushButton::clicked, this,
            [this] { guarded_([this] { ButtonAbortClick(); }); });

    auto *buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(abort);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gpib);
    layout->addWidget(agilent);
    layout->addWidget(simulation);
    layout->addWidget(daValues);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FormCreate();
}

QLineEdit *TformOptions::edit(const char *name) const {
    return findChild<QLineEdit *>(QString::fromLatin1(name));
}

void TformOptions::FormCreate() {
    for (const SettingField &field : kFields)
        edit(field.edit)->setText(state_.gpib.*field.member);
}

void TformOptions::ButtonSaveClick() {
    for (const SettingField &field : kFields)
        state_.gpib.*field.member = edit(field.edit)->text();
    // One file session for all nine keys, replaced at once: a failed save leaves the earlier
    // settings file whole.
    const QString path = ToolSettings(toolSettingsDir_).path();
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile file(path);
    file.load();
    for (const SettingField &field : kFields)
        file.writeString(QString::fromLatin1(field.section), QString::fromLatin1(field.key),
                         state_.gpib.*field.member);
    file.save();
}

void TformOptions::ButtonAbortClick() {
    FormCreate();
    reject();
}

void TformOptions::readStored(const QString &toolSettingsDir, GpibSettings &settings) {
    IniFile file(ToolSettings(toolSettingsDir).path());
    file.load();
    for (const SettingField &field : kFields)
        settings.*field.member =
            file.readString(QString::fromLatin1(field.section), QString::fromLatin1(field.key));
}

bool TformOptions::zelSimulation() const {
    return findChild<QCheckBox *>(QStringLiteral("ZEL_Simulation"))->isChecked();
}

bool TformOptions::daWerteStattZelWerte() const {
    return findChild<QCheckBox *>(QStringLiteral("DA_Werte_statt_ZEL_Werte"))->isChecked();
}

#include "teach/ui/TformOptions.h"

#include "base/IniFile.h"
#include "base/SharedState.h"
#include "base/ToolSettings.h"
#include "teach/InstrumentAddresses.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace {

// The edits of the stored instrument settings, in the order of InstrumentAddresses::fields().
struct SettingEdit {
    const char *edit;
    const char *caption;
};
const SettingEdit kEdits[] = {
    {"EGPIB1", "KMV700"},
    {"EGPIB2", "Agilent 34970A"},
    {"EditAgilent_OUTD_Spg", "OUT-D Spannung:"},
    {"EditAgilent_OUTD_Strom", "OUT-D Strom:"},
    {"EditAgilent_IN1_2_Multiplexer", "IN1/2 Multiplexer:"},
    {"EditAgilent_IN1_2_Spg", "IN1/2 Spannung:"},
    {"EditAgilent_IN1_2_Spgmessung", "IN1/2 Spannungsmessung:"},
    {"EditAgilent_IN1_2_Strom", "IN1/2 Strom:"},
    {"EditAgilent_IN1_2_Strommessung", "IN1/2 Strommessung:"},
};
static_assert(std::size(kEdits) == std::tuple_size_v<InstrumentAddresses::Fields>);

using Kind = InstrumentBackend::Kind;

// The bus choices in the order of the drop-down list.
const Kind kKinds[] = {Kind::Visa, Kind::LinuxGpib, Kind::Prologix, Kind::Lan, Kind::Simulated};
const char *const kKindCaptions[] = {"VISA", "linux-gpib", "Prologix-Adapter", "LAN (SCPI-Socket)",
                                     "simuliert"};

// The bus keys of section "IEEE" beside the addresses, with their edits.
struct BusField {
    const char *key;
    const char *edit;
    const char *caption;
};
const BusField kBusFields[] = {
    {"VisaLibrary", "EditVisaLibrary", "VISA-Bibliothek:"},
    {"Prologix", "EditPrologix", "Prologix (COMn, Gerät, HOST[:PORT]):"},
    {"LanDaq", "EditLanDaq", "LAN Agilent (HOST[:PORT]):"},
    {"LanPc", "EditLanPc", "LAN KMV700 (HOST[:PORT]):"},
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
    for (std::size_t i = 0; i < std::size(kEdits); ++i) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(kEdits[i].edit));
        const bool gpibAddress =
            QLatin1String(InstrumentAddresses::fields()[i].section) == QLatin1String("IEEE");
        (gpibAddress ? gpibForm : agilentForm)->addRow(QString::fromUtf8(kEdits[i].caption), edit);
    }
    // Created here, so the tab order follows the layout.
    QGroupBox *bus = buildBusGroup();
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
    layout->addWidget(bus);
    layout->addWidget(simulation);
    layout->addWidget(daValues);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FormCreate();
}

QLineEdit *TformOptions::edit(const char *name) const {
    return findChild<QLineEdit *>(QString::fromLatin1(name));
}

QGroupBox *TformOptions::buildBusGroup() {
    auto *bus = new QGroupBox(QStringLiteral("Instrumenten-Bus"), this);
    bus->setObjectName(QStringLiteral("GroupBoxBus"));
    auto *form = new QFormLayout(bus);
    auto *combo = new QComboBox(bus);
    combo->setObjectName(QStringLiteral("ComboBoxBus"));
    for (const char *caption : kKindCaptions)
        combo->addItem(QString::fromUtf8(caption));
    form->addRow(QStringLiteral("Bus:"), combo);
    for (const BusField &field : kBusFields) {
        auto *edit = new QLineEdit(bus);
        edit->setObjectName(QString::fromLatin1(field.edit));
        form->addRow(QString::fromUtf8(field.caption), edit);
    }
    auto *check = new QPushButton(QStringLiteral("Bench-Check"), bus);
    check->setObjectName(QStringLiteral("ButtonBenchCheck"));
    connect(check, &QPushButton::clicked, this,
            [this] { guarded_([this] { ButtonBenchCheckClick(); }); });
    form->addRow(QString(), check);
    return bus;
}

QComboBox *TformOptions::busCombo() const {
    return findChild<QComboBox *>(QStringLiteral("ComboBoxBus"));
}

void TformOptions::FormCreate() {
    for (std::size_t i = 0; i < std::size(kEdits); ++i)
        edit(kEdits[i].edit)->setText(state_.gpib.*InstrumentAddresses::fields()[i].member);
    showStoredBus();
}

void TformOptions::showStoredBus() {
    IniFile file(ToolSettings(toolSettingsDir_).path());
    file.load();
    const QString ieee = QStringLiteral("IEEE");
    Kind kind = Kind::Visa;
    InstrumentBackend::Selection::kindOfKey(file.readString(ieee, QStringLiteral("Backend")),
                                            &kind);
    busCombo()->setCurrentIndex(
        int(std::find(std::begin(kKinds), std::end(kKinds), kind) - std::begin(kKinds)));
    for (const BusField &field : kBusFields)
        edit(field.edit)->setText(file.readString(ieee, QString::fromLatin1(field.key)));
}

// Only what the dialog changed is written: a tool that never chose a bus keeps its file as it
// was, with VISA as the default.
void TformOptions::saveBus(IniFile &file) const {
    const QString ieee = QStringLiteral("IEEE");
    const QString backendKey = QStringLiteral("Backend");
    const QString stored = file.readString(ieee, backendKey);
    Kind storedKind = Kind::Visa;
    InstrumentBackend::Selection::kindOfKey(stored, &storedKind);
    const Kind chosen = kKinds[qBound(0, busCombo()->currentIndex(), int(std::size(kKinds)) - 1)];
    if (chosen != storedKind || (!stored.isEmpty() && stored.trimmed() != stored))
        file.writeString(ieee, backendKey, InstrumentBackend::Selection::kindKey(chosen));
    for (const BusField &field : kBusFields) {
        const QString key = QString::fromLatin1(field.key);
        const QString text = edit(field.edit)->text();
        if (text != file.readString(ieee, key))
            file.writeString(ieee, key, text);
    }
}

InstrumentBackend::Selection TformOptions::shownSelection() const {
    InstrumentBackend::Selection selection = InstrumentBackend::Selection::read(toolSettingsDir_);
    selection.kind = kKinds[qBound(0, busCombo()->currentIndex(), int(std::size(kKinds)) - 1)];
    selection.visaLibrary = edit("EditVisaLibrary")->text();
    selection.prologix = InstrumentBackend::Selection::adapterDevice(
        edit("EditPrologix")->text().trimmed(), toolSettingsDir_);
    selection.lanDaq = edit("EditLanDaq")->text().trimmed();
    selection.lanPc = edit("EditLanPc")->text().trimmed();
    return selection;
}

GpibSettings TformOptions::shownAddresses() const {
    GpibSettings gpib = state_.gpib;
    gpib.GPIB1 = edit("EGPIB1")->text();
    gpib.GPIB2 = edit("EGPIB2")->text();
    return gpib;
}

void TformOptions::ButtonBenchCheckClick() {
    if (benchCheck_)
        benchCheck_(shownSelection(), shownAddresses());
}

void TformOptions::ButtonSaveClick() {
    for (std::size_t i = 0; i < std::size(kEdits); ++i)
        state_.gpib.*InstrumentAddresses::fields()[i].member = edit(kEdits[i].edit)->text();
    // One file session for all nine keys, replaced at once: a failed save leaves the earlier
    // settings file whole.
    const QString path = ToolSettings(toolSettingsDir_).path();
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile file(path);
    file.load();
    InstrumentAddresses::write(file, state_.gpib);
    saveBus(file);
    file.save();
}

void TformOptions::ButtonAbortClick() {
    FormCreate();
    reject();
}

bool TformOptions::zelSimulation() const {
    return findChild<QCheckBox *>(QStringLiteral("ZEL_Simulation"))->isChecked();
}

bool TformOptions::daWerteStattZelWerte() const {
    return findChild<QCheckBox *>(QStringLiteral("DA_Werte_statt_ZEL_Werte"))->isChecked();
}

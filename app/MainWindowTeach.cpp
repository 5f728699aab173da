// Handlers of the production teach: teach run, teach values, teach files, instrument settings.
#include "app/TformMain.h"

#include "app/TeachController.h"
#include "base/Errors.h"
#include "teach/InstrumentAddresses.h"
#include "teach/TeachValueFile.h"
#include "teach/TeachValueModel.h"
#include "teach/TeachValueTable.h"
#include "teach/TeachValueTransfer.h"
#include "teach/ui/TformOptions.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

// Besides the transfer lock, a teach transfer keeps the menus (files, settings dialogs) and
// every teach button from starting anything else.
void lockForTeachTransfer(TformMain &w) {
    w.runner().clearAbort();
    w.beginAction(DeviceAction::TeachTransfer);
    w.Progress->setMaximum(TeachValueTransfer::ProgressMaximum);
    w.Progress->setValue(0);
    w.state.transferFailureMarker = 0;
    w.openPort();
}

void releaseAfterTeachTransfer(TformMain &w) {
    w.runner().clearAbort();
    w.endAction();
    w.Progress->setValue(0);
    w.state.transferFailureMarker = 0;
}

TeachValueTransfer transferOf(TformMain &w) {
    return TeachValueTransfer([&w](const QString &command) { return w.SendSpToCom(command); },
                              w.state.decimalSeparator);
}

} // namespace

void TformMain::ButtonTeachClick() {
    teach().runTeach();
}
void TformMain::ButtonAbortTeachClick() {
    teach().abortTeach();
}

void TformMain::ButtonLoadTeachClick() {
    if (refuseWhileMeasuring())
        return;
    lockForTeachTransfer(*this);
    setStatus(msg(CatalogueEntry::LoadingData) + portSuffix());
    transferOf(*this).load(
        [this](int range) {
            for (const char *name : {"MeasRange1", "MeasRange2"}) {
                auto *box = ctl<QComboBox>(QString::fromLatin1(name));
                // A range the lists do not know leaves both without a selection.
                box->setCurrentIndex(range >= 0 && range < box->count() ? range : -1);
            }
            MeasRange1Change();
        },
        [this](const TeachValueRow &row, int value) {
            teachValues_->setText(row, QString::number(value));
        });
    closePort();
    setStatus(msg(CatalogueEntry::DataLoaded));
    releaseAfterTeachTransfer(*this);
}

void TformMain::ButtonSendTeachClick() {
    if (refuseWhileMeasuring())
        return;
    lockForTeachTransfer(*this);
    setStatus(msg(CatalogueEntry::SendingData) + portSuffix());
    const bool accepted = transferOf(*this).send(
        [this](const TeachValueRow &row) { return teachValues_->text(row); });
    closePort();
    setStatus(msg(accepted ? CatalogueEntry::DataSent : CatalogueEntry::NotAllSent));
    releaseAfterTeachTransfer(*this);
    // The device kept values it refused, or did not store them: the user must hear of it.
    if (!accepted)
        throw EGlobalError(msg(CatalogueEntry::NotAllSent));
}

void TformMain::MeasRange1Change() {
    const int range = ctl<QComboBox>(QStringLiteral("MeasRange1"))->currentIndex();
    for (const TeachValueRow *row : TeachValueTable::rangeCaptionRows())
        ctl<QLabel>(QString::fromLatin1(row->captionLabel))
            ->setText(TeachValueTable::caption(*row, range));
}

void TformMain::LoadTeachwerteClick() {
    const QString path =
        prompts().openFileName(this, executableDir(), QString(), TeachValueFile::Filter);
    if (path.isEmpty())
        return;
    const TeachValueFile::ReadResult file = TeachValueFile::read(path);
    // A wrong or unreadable file is reported and changes nothing; it is no device failure, so
    // a running measurement goes on.
    if (!file.ok()) {
        prompts().showError(this, file.error);
        return;
    }
    for (const TeachValueFile::Entry &entry : file.entries)
        teachValues_->setText(*entry.row, entry.caption);
    setStatus(msg(CatalogueEntry::DataLoaded));
}

void TformMain::SaveTeachwerteClick() {
    const QString path = prompts().saveFileName(
        this, executableDir(), TeachValueFile::DefaultSaveName, TeachValueFile::Filter, false);
    if (path.isEmpty())
        return;
    TeachValueFile::write(path,
                          [this](const TeachValueRow &row) { return teachValues_->text(row); });
    setStatus(msg(CatalogueEntry::DataSaved));
}

void TformMain::ButtonOptionsClick() {
    prompts().execModal(*formOptions());
}

void TformMain::GetGPIBConfigData() {
    InstrumentAddresses::read(executableDir(), state.gpib);
    if (options_.demoInstruments)
        state.gpib = *options_.demoInstruments;
    formOptions()->FormCreate();
}

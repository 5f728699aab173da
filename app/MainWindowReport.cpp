// Handler of the commissioning report: the dialog, the file, the settings (read from the device
// for a report of the device, as they are in a file for a report of a file), and the optional
// live-value check.
#include "app/TformMain.h"
#include "base/Errors.h"
#include "base/ToolSettings.h"
#include "i18n/MessageCatalogue.h"
#include "params/SettingsModel.h"
#include "params/SettingsTransfer.h"
#include "report/LiveCheck.h"
#include "report/ReportBuilder.h"
#include "report/ReportWriter.h"
#include "report/ui/ReportDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressBar>

namespace {

// The file dialog starts beside the executable, unless the tool is installed read-only.
QString reportDialogDir(const TformMain &w) {
    const QFileInfo dir(w.executableDir());
    return dir.isDir() && dir.isWritable() ? w.executableDir() : QDir::homePath();
}

// Asks the device its variant and measures for `seconds`, as a transfer does: the controls
// are taken and the abort button ends it.
void runLiveCheck(TformMain &w, CommissioningReport &report, int seconds) {
    DeviceRunner &runner = w.runner();
    runner.clearAbort();
    w.beginAction(DeviceAction::Transfer);
    w.Progress->setMaximum(LiveCheck::readingsFor(seconds));
    w.Progress->setValue(0);
    w.openPort();
    w.setStatus(w.msg(CatalogueEntry::Connected) + w.portSuffix());
    report.variant = LiveCheck::probeVariant(runner);
    report.check =
        LiveCheck::run(runner, seconds, [&w] { w.Progress->setValue(w.Progress->value() + 1); });
    w.closePort();
    w.Progress->setValue(0);
    w.setStatus(w.msg(CatalogueEntry::Disconnected));
    w.endAction();
}

// Reads every setting from the device into `model` as a load does, without touching the pages.
void readDeviceInto(TformMain &w, SettingsModel &model) {
    w.runner().clearAbort();
    w.beginAction(DeviceAction::Transfer);
    SettingsTransfer::Observer observer;
    observer.ended = [&w] { w.endAction(); };
    SettingsTransfer transfer(w.runner(), model, observer);
    transfer.begin(SettingsTransfer::kLoadProgress);
    transfer.loadAll();
}

} // namespace

void TformMain::InbetriebnahmeprotokollClick() {
    if (refuseWhileMeasuring())
        return;
    const bool fromFile = state.settingsOrigin == SettingsOrigin::File;
    ReportDialog dialog(this, state.language, !fromFile);
    const ToolSettings toolSettings(options_.executableDir);
    dialog.recall(toolSettings);
    if (prompts().execModal(dialog) != QDialog::Accepted)
        return;
    // Not being able to keep the fields for next time is no reason to lose this report.
    try {
        dialog.remember(toolSettings);
    } catch (const EFileError &error) {
        prompts().showError(this, error.message());
    }
    const QString proposed = msg(CatalogueEntry::ReportTitle) + ReportWriter::Extension;
    const QString path =
        prompts().saveFileName(this, reportDialogDir(*this), proposed, ReportWriter::Filter, false);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path) &&
        !prompts().confirm(this, msg(CatalogueEntry::ReportReplace).arg(path)))
        return;

    // A signed record of the device shows what the device holds. Pages that show no loaded
    // settings yet are filled from it; settings read earlier may have been edited since, so they
    // are read anew into a model of the report's own, and the pages keep the edits.
    SettingsModel readNow;
    const SettingsModel *reported = settings_;
    if (!fromFile && state.settingsOrigin == SettingsOrigin::None) {
        if (!beginTransfer(SettingsTransfer::kLoadProgress))
            return;
        AlleParameterLaden();
    } else if (!fromFile) {
        readDeviceInto(*this, readNow);
        reported = &readNow;
    }
    CommissioningReport report = ReportBuilder::fromSettings(*reported, state.language);
    report.decimalSeparator = state.decimalSeparator;
    report.fields = dialog.fields();
    if (fromFile)
        report.sourceFile = QFileInfo(state.settingsFile).fileName();
    else
        report.port =
            ComPort().port() + QStringLiteral(" (") + ComPort().devicePath() + QLatin1Char(')');
    if (dialog.includeCheck())
        runLiveCheck(*this, report, dialog.checkSeconds());
    ReportWriter::save(path, ReportWriter::render(report).pdf);
    setStatus(msg(CatalogueEntry::ReportSaved) + QStringLiteral(": ") + path);
}

// zelctl report: the commissioning report of the device's settings (with an optional
// live-value check) or of a configuration file's, as the window writes it.
#include "base/SavedFile.h"
#include "cli/ConsoleSession.h"
#include "cli/CtlCommands.h"
#include "cli/CtlOutput.h"
#include "params/ConfigFile.h"
#include "params/SettingsModel.h"
#include "report/LiveCheck.h"
#include "report/ReportBuilder.h"
#include "report/ReportWriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonObject>

int CtlCommands::report(const CtlRequest &request) {
    needArguments(request, 0, 0);
    if (request.output.isEmpty())
        throw ECtlUsage(QStringLiteral("report: give the PDF file with -o FILE.pdf"));
    if (!request.from.isEmpty() && request.checkSeconds > 0)
        throw ECtlUsage(QStringLiteral("report: a live-value check needs a device, not --from"));
    // Checked before the device is asked anything: an existing file is replaced only on
    // request, and never when it is no regular file (a device node, a pipe, a folder, a link
    // that leads nowhere, which counts as there). Standard output is "-o -".
    const bool toStandardOutput = request.output == QLatin1String("-");
    if (!toStandardOutput) {
        const QFileInfo target(request.output);
        if ((target.exists() || target.isSymLink()) && !request.force)
            throw ECtlUsage(
                QStringLiteral("report: %1 exists (--force replaces it)").arg(request.output));
        const FileFault::Cause refused = replaceableFile(request.output);
        if (refused != FileFault::Cause::System)
            throw EFileFault(
                FileFault::found(FileFault::Problem::CannotCreate, request.output, refused));
    }

    const int language = session_.language();
    SettingsModel model;
    CommissioningReport report;
    if (!request.from.isEmpty()) {
        const ConfigFile::LoadResult file = ConfigFile::load(request.from);
        if (!file.ok())
            throw EFileFault(file.fault);
        ConfigFile::applyTo(model, file.values);
        report = ReportBuilder::fromSettings(model, language);
        report.sourceFile = QFileInfo(request.from).fileName();
    } else {
        loadAll(model);
        report = ReportBuilder::fromSettings(model, language);
        report.port = session_.port().port() + QStringLiteral(" (") + session_.port().devicePath() +
                      QLatin1Char(')');
        session_.clearAbort();
        session_.openPort();
        session_.setStatus(session_.message(CatalogueEntry::Connected) + session_.portSuffix());
        report.variant = LiveCheck::probeVariant(session_);
        if (request.checkSeconds > 0)
            report.check = LiveCheck::run(session_, request.checkSeconds);
        session_.closePort();
        session_.setStatus(session_.message(CatalogueEntry::Disconnected));
    }
    session_.finishStatusLine();
    report.decimalSeparator = session_.decimalSeparator();
    report.fields = request.fields;

    // Drawing a long report takes a while with no event loop running: a stop signal is looked
    // for between the lines drawn, and ends the command before anything is written.
    const auto stopRequested = [this] {
        QCoreApplication::processEvents();
        return session_.abortRequested();
    };
    const ReportWriter::Result pdf = ReportWriter::render(report, stopRequested);
    if (pdf.stopped || stopRequested())
        throw EGlobalError(session_.message(CatalogueEntry::AbortByUser));
    if (toStandardOutput) {
        out_.writeBytes(pdf.pdf);
        out_.flush();
        return kDone;
    }
    ReportWriter::save(request.output, pdf.pdf);
    if (request.json)
        printJson({{QStringLiteral("file"), request.output},
                   {QStringLiteral("pages"), pdf.pages},
                   {QStringLiteral("bytes"), qint64(pdf.pdf.size())},
                   {QStringLiteral("source"),
                    request.from.isEmpty() ? QStringLiteral("device") : request.from}});
    else
        out_ << request.output << ": report written, " << pdf.pages << " pages\n";
    out_.flush();
    return kDone;
}

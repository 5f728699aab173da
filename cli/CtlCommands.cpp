#include "cli/CtlCommands.h"

#include "base/IniFile.h"
#include "base/SavedFile.h"
#include "base/ToolSettings.h"
#include "cli/ConsoleSession.h"
#include "cli/CtlOutput.h"
#include "cli/CtlTeach.h"
#include "i18n/SettingTexts.h"
#include "link/EComPort.h"
#include "link/NetSerialDriver.h"
#include "link/PortProbe.h"
#include "link/WireText.h"
#include "measure/EventLog.h"
#include "measure/MeasurementPoller.h"
#include "measure/PolledChannels.h"
#include "measure/ZeroResetAction.h"
#include "params/ConfigFile.h"
#include "params/ParamCodec.h"
#include "params/SettingsDiff.h"
#include "params/SettingsModel.h"
#include "params/SettingsTransfer.h"
#include "teach/TeachValueFile.h"
#include "teach/TeachValueTransfer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QLocale>

namespace {

QString nameOf(const ParamDef &row) {
    return QString::fromLatin1(row.name);
}

// A setting as the window shows it: the text of its field, or the item of its list.
QString shownValue(const SettingsModel &model, const ParamDef &row, int language) {
    if (row.kind != ParamKind::Choice)
        return model.text(row);
    return SettingTexts::shownItem(row, model.unitListMode(), model.choice(row), language);
}

QJsonValue storedValue(const SettingsModel &model, const ParamDef &row) {
    if (row.kind == ParamKind::Choice)
        return model.deviceChoice(row);
    return model.text(row);
}

ConfigValues loadConfigFile(const QString &path) {
    const ConfigFile::LoadResult file = ConfigFile::load(path);
    if (!file.ok())
        throw EFileFault(file.fault);
    return file.values;
}

} // namespace

CtlCommands::CtlCommands(ConsoleSession &session, CtlOutput &out) : session_(session), out_(out) {}

int CtlCommands::exitCodeOf(const std::exception &error) {
    if (dynamic_cast<const ECtlUsage *>(&error) || dynamic_cast<const EFileError *>(&error) ||
        dynamic_cast<const EUnsafeValue *>(&error))
        return kUsage;
    if (dynamic_cast<const EDeviceRefused *>(&error))
        return kRefused;
    return kLinkFailure;
}

int CtlCommands::run(const CtlRequest &request) {
    const QString &c = request.command;
    if (c == QLatin1String("ports"))
        return ports(request);
    if (c == QLatin1String("read"))
        return read(request);
    if (c == QLatin1String("write"))
        return write(request);
    if (c == QLatin1String("diff"))
        return diff(request);
    if (c == QLatin1String("get"))
        return get(request);
    if (c == QLatin1String("set"))
        return set(request);
    if (c == QLatin1String("factory"))
        return factory(request);
    if (c == QLatin1String("zero") || c == QLatin1String("reset"))
        return zeroOrReset(request);
    if (c == QLatin1String("watch"))
        return watch(request);
    if (c == QLatin1String("teach-values"))
        return teachValues(request);
    if (c == QLatin1String("report"))
        return report(request);
    if (c == QLatin1String("teach"))
        return CtlTeach(session_, out_, session_.executableDir()).teach(request);
    if (c == QLatin1String("bench-check"))
        return CtlTeach(session_, out_, session_.executableDir()).benchCheck(request);
    throw ECtlUsage(c.isEmpty() ? QStringLiteral("no command given (try --help)")
                                : QStringLiteral("unknown command \"%1\" (try --help)").arg(c));
}

void CtlCommands::needArguments(const CtlRequest &request, int minimum, int maximum) {
    const int n = request.arguments.size();
    if (n < minimum)
        throw ECtlUsage(QStringLiteral("%1: missing argument").arg(request.command));
    if (maximum >= 0 && n > maximum)
        throw ECtlUsage(QStringLiteral("%1: unexpected argument \"%2\"")
                            .arg(request.command, request.arguments.at(maximum)));
}

void CtlCommands::checkSettingsTarget(const CtlRequest &request) {
    if (request.output == QLatin1String("-"))
        throw ECtlUsage(QStringLiteral("%1: -o - is for the report; without -o the values are "
                                       "printed")
                            .arg(request.command));
    const FileFault::Cause refused = replaceableFile(request.output);
    if (refused != FileFault::Cause::System)
        throw EFileFault(
            FileFault::found(FileFault::Problem::CannotWrite, request.output, refused));
    IniFile target(request.output);
    const IniFile::LoadResult loaded = target.load();
    if (!loaded.ok()) {
        FileFault fault = loaded.fault;
        fault.problem = FileFault::Problem::CannotWrite;
        throw EFileFault(fault);
    }
}

const ParamDef &CtlCommands::settingNamed(const QString &name) {
    for (const ParamDef &row : ParamTable::rows()) {
        if (name.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0)
            return row;
    }
    throw ECtlUsage(QStringLiteral("unknown setting \"%1\"").arg(name));
}

void CtlCommands::printJson(const QJsonObject &object) {
    out_.writeBytes(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
    out_.flush();
}

int CtlCommands::ports(const CtlRequest &request) {
    needArguments(request, 0, 0);
    TComPort &port = session_.port();
    const auto presentDevices = TComPort::presentDevices();
    QMap<QString, PortProbeResult> probes;
    if (request.probe) {
        QStringList searched;
        for (int n = 1; n <= 16; ++n) {
            const QString name = QStringLiteral("COM%1").arg(n);
            searched.append(port.bindings().value(name, TComPort::defaultDevice(name)));
        }
        for (const auto &device : presentDevices)
            searched.append(device.first);
        probes = PortProbe::search(searched, port.lineSettings());
    }
    // The probe's finding as a JSON object and as text after the entry's line.
    const auto probeJson = [&probes](const QString &device) {
        const PortProbeResult result = probes.value(device);
        QJsonObject object{{QStringLiteral("answered"), result.answered}};
        if (result.answered) {
            object.insert(QStringLiteral("address"), result.address);
            object.insert(QStringLiteral("range"), result.rangeText());
            object.insert(QStringLiteral("variant"), PortProbe::variantText());
        } else {
            object.insert(QStringLiteral("reason"), result.reason);
        }
        return object;
    };
    const auto probeText = [&probes](const QString &device) {
        const PortProbeResult result = probes.value(device);
        if (result.answered) {
            return QStringLiteral("  ZEL 40 / ZEL 80, address %1, range %2")
                .arg(result.address, result.rangeText());
        }
        return QStringLiteral("  (") + result.reason + QLatin1Char(')');
    };
    QJsonArray names;
    for (int n = 1; n <= 16; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        const QString device = port.bindings().value(name, TComPort::defaultDevice(name));
        const bool server = NetSerialDriver::isNetworkAddress(device);
        // A device server cannot be seen without connecting to it: it is not "present".
        const bool present = !server && QFileInfo::exists(device);
        const bool chosen = name == port.port();
        QJsonObject entry{{QStringLiteral("name"), name},
                          {QStringLiteral("device"), device},
                          {QStringLiteral("present"), present},
                          {QStringLiteral("selected"), chosen}};
        if (server)
            entry.insert(QStringLiteral("server"), true);
        if (request.probe)
            entry.insert(QStringLiteral("probe"), probeJson(device));
        names.append(entry);
        if (!request.json) {
            out_ << (chosen ? "* " : "  ") << name.leftJustified(6) << ' '
                 << device.leftJustified(24)
                 << (server    ? "  (device server)"
                     : present ? ""
                               : "  (not present)")
                 << (request.probe && (present || server) ? probeText(device) : QString()) << '\n';
        }
    }
    QJsonArray devices;
    for (const auto &device : presentDevices) {
        QJsonObject entry{{QStringLiteral("path"), device.first},
                          {QStringLiteral("description"), device.second}};
        if (request.probe)
            entry.insert(QStringLiteral("probe"), probeJson(device.first));
        devices.append(entry);
        if (!request.json)
            out_ << "  " << device.first
                 << (device.second.isEmpty() ? QString()
                                             : QStringLiteral("  (") + device.second + ')')
                 << (request.probe ? probeText(device.first) : QString()) << '\n';
    }
    if (request.json)
        printJson({{QStringLiteral("ports"), names}, {QStringLiteral("devices"), devices}});
    return kDone;
}

void CtlCommands::loadAll(SettingsModel &model) {
    SettingsTransfer transfer(session_, model);
    transfer.begin(SettingsTransfer::kLoadProgress);
    transfer.loadAll();
}

void CtlCommands::printSettings(const SettingsModel &model,
                                const std::vector<const ParamDef *> &rows,
                                const CtlRequest &request) {
    const int language = session_.language();
    QJsonArray settings;
    for (const ParamDef *row : rows) {
        const QString caption = SettingTexts::settingCaption(*row, language);
        const QString shown = shownValue(model, *row, language);
        if (request.json) {
            settings.append(QJsonObject{{QStringLiteral("name"), nameOf(*row)},
                                        {QStringLiteral("value"), storedValue(model, *row)},
                                        {QStringLiteral("shown"), shown},
                                        {QStringLiteral("caption"), caption}});
        } else {
            out_ << nameOf(*row).leftJustified(13) << ' ' << shown.leftJustified(24) << "  "
                 << caption << '\n';
        }
    }
    if (request.json) {
        QJsonObject object{{QStringLiteral("port"), session_.port().port()},
                           {QStringLiteral("device"), session_.port().devicePath()},
                           {QStringLiteral("settings"), settings}};
        if (!request.output.isEmpty())
            object.insert(QStringLiteral("file"), request.output);
        printJson(object);
    }
    out_.flush();
}

int CtlCommands::read(const CtlRequest &request) {
    needArguments(request, 0, 0);
    if (!request.output.isEmpty())
        checkSettingsTarget(request);
    SettingsModel model;
    loadAll(model);
    session_.finishStatusLine();
    // The file is written only once every setting is in: an abort leaves no file behind.
    if (!request.output.isEmpty()) {
        ConfigFile::save(request.output, ConfigFile::fromModel(model));
        if (!request.json) {
            out_ << request.output << ": " << ConfigFile::rows().size() << " settings saved\n";
            out_.flush();
            return kDone;
        }
    }
    printSettings(model, ParamTable::all(), request);
    return kDone;
}

int CtlCommands::reportDifferences(const QJsonArray &differences, const CtlRequest &request,
                                   const QString &leftName, const QString &rightName) {
    if (request.json) {
        printJson({{QStringLiteral("differences"), differences}});
    } else {
        for (const QJsonValue &value : differences) {
            const QJsonObject d = value.toObject();
            out_ << d.value(QStringLiteral("name")).toString().leftJustified(13) << ' ' << leftName
                 << ' ' << d.value(leftName).toString() << ", " << rightName << ' '
                 << d.value(rightName).toString() << "  ("
                 << d.value(QStringLiteral("caption")).toString() << ")\n";
        }
        out_.flush();
    }
    return differences.isEmpty() ? kDone : kRefused;
}

namespace {
QJsonArray differencesOf(const ConfigValues &device, const ConfigValues &other,
                         const QString &otherName, int language) {
    QJsonArray differences;
    for (const SettingsDiff::Difference &d : SettingsDiff::between(device, other)) {
        differences.append(QJsonObject{
            {QStringLiteral("name"), nameOf(*d.row)},
            {QStringLiteral("device"), d.left},
            {otherName, d.right},
            {QStringLiteral("caption"), SettingTexts::settingCaption(*d.row, language)}});
    }
    return differences;
}
} // namespace

int CtlCommands::write(const CtlRequest &request) {
    needArguments(request, 1, 1);
    const ConfigValues file = loadConfigFile(request.arguments.at(0));
    SettingsModel model;
    ConfigFile::applyTo(model, file);
    SettingsTransfer transfer(session_, model);
    // A value that could split a command line stops the write before anything is sent.
    if (const ParamDef *unsafe = SettingsTransfer::firstUnsafe(model))
        throw EUnsafeValue(nameOf(*unsafe));
    transfer.begin(SettingsTransfer::kLoadProgress);
    try {
        transfer.sendAll();
    } catch (const EDeviceRefused &) {
        session_.finishStatusLine();
        QJsonArray refused;
        for (const ParamDef *row : transfer.refusedRows())
            refused.append(nameOf(*row));
        if (request.json) {
            printJson({{QStringLiteral("refused"), refused}});
        } else {
            for (const ParamDef *row : transfer.refusedRows())
                out_ << "refused: " << nameOf(*row) << " = "
                     << storedValue(model, *row).toVariant().toString() << "  ("
                     << SettingTexts::settingCaption(*row, session_.language()) << ")\n";
            out_.flush();
        }
        throw;
    }
    if (!request.verify) {
        session_.finishStatusLine();
        if (request.json)
            printJson({{QStringLiteral("refused"), QJsonArray()}});
        return kDone;
    }
    // Read back and compare with what was sent.
    SettingsModel device;
    loadAll(device);
    session_.finishStatusLine();
    const QJsonArray differences =
        differencesOf(ConfigFile::fromModel(device), ConfigFile::fromModel(model),
                      QStringLiteral("sent"), session_.language());
    if (request.json) {
        printJson({{QStringLiteral("refused"), QJsonArray()},
                   {QStringLiteral("verified"), differences.isEmpty()},
                   {QStringLiteral("differences"), differences}});
        return differences.isEmpty() ? kDone : kRefused;
    }
    if (differences.isEmpty()) {
        out_ << "verified: the device holds every setting sent\n";
        out_.flush();
        return kDone;
    }
    return reportDifferences(differences, request, QStringLiteral("device"),
                             QStringLiteral("sent"));
}

int CtlCommands::diff(const CtlRequest &request) {
    needArguments(request, 1, 1);
    const ConfigValues file = loadConfigFile(request.arguments.at(0));
    SettingsModel device;
    loadAll(device);
    session_.finishStatusLine();
    return reportDifferences(differencesOf(ConfigFile::fromModel(device), file,
                                           QStringLiteral("file"), session_.language()),
                             request, QStringLiteral("device"), QStringLiteral("file"));
}

int CtlCommands::get(const CtlRequest &request) {
    needArguments(request, 1, -1);
    std::vector<const ParamDef *> wanted;
    bool unitList = false;
    for (const QString &name : request.arguments) {
        wanted.push_back(&settingNamed(name));
        unitList = unitList || SettingsModel::unitInput(*wanted.back()) != 0;
    }
    // The unit lists mean what the external-pressure mode says: it is read first.
    std::vector<const ParamDef *> queried = wanted;
    if (unitList)
        queried.insert(queried.begin(), ParamTable::find(QStringLiteral("ExtPress")));
    SettingsModel model;
    SettingsTransfer transfer(session_, model);
    transfer.begin(int(queried.size()));
    session_.setStatus(session_.message(CatalogueEntry::LoadingData) + session_.portSuffix());
    transfer.load(queried);
    session_.closePort();
    session_.setStatus(session_.message(CatalogueEntry::DataLoaded));
    session_.finishStatusLine();
    printSettings(model, wanted, request);
    return kDone;
}

int CtlCommands::set(const CtlRequest &request) {
    needArguments(request, 1, -1);
    // Every assignment is checked before the first command goes out.
    QList<QPair<const ParamDef *, QString>> commands;
    for (const QString &assignment : request.arguments) {
        const int equals = assignment.indexOf(QLatin1Char('='));
        if (equals <= 0)
            throw ECtlUsage(QStringLiteral("set: \"%1\" is not NAME=VALUE").arg(assignment));
        const ParamDef &row = settingNamed(assignment.left(equals));
        const QString value = assignment.mid(equals + 1);
        if (row.kind == ParamKind::Address)
            throw ECtlUsage(QStringLiteral("set: %1 cannot be written").arg(nameOf(row)));
        if (!WireText::isSafe(value))
            throw EUnsafeValue(nameOf(row));
        QString wire = ParamCodec::editTextOnWire(value);
        if (row.kind == ParamKind::Choice) {
            bool ok = false;
            const int choice = value.trimmed().toInt(&ok);
            const int items =
                SettingsModel::unitInput(row)
                    ? 4
                    : int(ParamTable::designItems(QString::fromLatin1(row.control)).size());
            if (!ok || choice < 0 || choice >= items)
                throw ECtlUsage(QStringLiteral("set: %1 takes a number from 0 to %2")
                                    .arg(nameOf(row))
                                    .arg(items - 1));
            wire = QString::number(choice);
        }
        commands.append({&row, ParamCodec::setCommand(nameOf(row), wire)});
    }
    session_.clearAbort();
    session_.startProgress(int(commands.size()) + 1);
    session_.openPort();
    session_.setStatus(session_.message(CatalogueEntry::SendingData) + session_.portSuffix());
    QStringList refused;
    for (const auto &command : std::as_const(commands)) {
        if (ParamCodec::isRefusal(session_.sendStep(command.second)))
            refused.append(nameOf(*command.first));
    }
    session_.sendStep(QStringLiteral("SaveSet"));
    session_.closePort();
    session_.setStatus(session_.message(refused.isEmpty() ? CatalogueEntry::DataSent
                                                          : CatalogueEntry::NotAllSent));
    session_.finishStatusLine();
    if (request.json)
        printJson({{QStringLiteral("refused"), QJsonArray::fromStringList(refused)}});
    else
        for (const QString &name : std::as_const(refused))
            out_ << "refused: " << name << '\n';
    out_.flush();
    if (!refused.isEmpty())
        throw EDeviceRefused(session_.message(CatalogueEntry::NotAllSent));
    return kDone;
}

int CtlCommands::factory(const CtlRequest &request) {
    needArguments(request, 1, 1);
    const QString range = request.arguments.at(0);
    if (range != QLatin1String("100") && range != QLatin1String("250"))
        throw ECtlUsage(QStringLiteral("factory: give 100 or 250 (Pa)"));
    SettingsModel model;
    SettingsTransfer transfer(session_, model);
    transfer.begin(SettingsTransfer::kFactoryProgress);
    try {
        transfer.factorySettings(range == QLatin1String("100") ? 1 : 0);
    } catch (const EDeviceRefused &) {
        // The settings were loaded after the refusal: they show what the device holds.
        session_.finishStatusLine();
        printSettings(model, ParamTable::all(), request);
        throw;
    }
    session_.finishStatusLine();
    printSettings(model, ParamTable::all(), request);
    return kDone;
}

int CtlCommands::zeroOrReset(const CtlRequest &request) {
    needArguments(request, 0, 0);
    const bool zero = request.command == QLatin1String("zero");
    session_.clearAbort();
    ZeroResetAction::perform(session_, zero ? ZeroResetAction::kZeroing : ZeroResetAction::kReset,
                             [] { return false; });
    session_.finishStatusLine();
    if (session_.abortRequested())
        throw EGlobalError(session_.message(CatalogueEntry::AbortByUser));
    const QString done =
        session_.statusHistory().isEmpty() ? QString() : session_.statusHistory().last();
    if (request.json)
        printJson({{QStringLiteral("done"), true}, {QStringLiteral("status"), done}});
    else
        out_ << done << '\n';
    out_.flush();
    return kDone;
}

int CtlCommands::watch(const CtlRequest &request) {
    needArguments(request, 0, 0);
    // Outside this range the milliseconds of the wait would overflow or be no wait at all.
    if (!(request.intervalSeconds >= kMinInterval && request.intervalSeconds <= kMaxInterval))
        throw ECtlUsage(QStringLiteral("watch: --interval takes seconds from %1 to %2")
                            .arg(kMinInterval)
                            .arg(kMaxInterval));
    // Stopping a watch with Ctrl-C is its normal end, also while a reply is awaited.
    try {
        watchLines(request);
    } catch (const EGlobalError &) {
        if (!session_.abortRequested())
            throw;
        session_.finishStatusLine();
    }
    session_.closePort();
    session_.setStatus(session_.message(CatalogueEntry::Disconnected));
    session_.finishStatusLine();
    return kDone;
}

void CtlCommands::watchLines(const CtlRequest &request) {
    SettingsModel model;
    MeasurementPoller poller(session_, model);
    session_.clearAbort();
    session_.openPort();
    session_.setStatus(session_.message(CatalogueEntry::Connected) + session_.portSuffix());
    poller.start();
    const UnitSelection units = poller.units();
    const char *const channelNames[] = {"pressure", "IN-1", "IN-2"};
    if (request.csv) {
        QStringList header{QStringLiteral("time")};
        for (int channel = 0; channel < PolledChannels::kChannelCount; ++channel) {
            if (PolledChannels::polled(channel, units))
                header << QString::fromLatin1(channelNames[channel])
                       << QString::fromLatin1(channelNames[channel]) + QStringLiteral(" unit");
        }
        out_ << header.join(QLatin1Char(',')) << '\n';
        out_.flush();
    }
    for (int line = 0; request.count == 0 || line < request.count; ++line) {
        if (line > 0)
            session_.delay(int(request.intervalSeconds * 1000));
        if (session_.abortRequested())
            break;
        const QDateTime now = QDateTime::currentDateTime();
        const int point = ChannelHistory::clampIndex(poller.historyIndex());
        const MeasurementPoller::Texts texts = poller.poll();
        QStringList shown;
        QStringList csv{now.toString(Qt::ISODate)};
        QJsonObject values;
        for (int channel = 0; channel < PolledChannels::kChannelCount; ++channel) {
            if (!PolledChannels::polled(channel, units))
                continue;
            const HistoryPoint &polled = poller.history(channel).at(point);
            const bool number = polled.state == PointState::Value;
            const QString unit = poller.unitText(channel);
            shown << texts[channel];
            csv << (number ? QString::number(polled.value, 'g', 10) : texts[channel]) << unit;
            QJsonObject value{{QStringLiteral("text"), texts[channel]},
                              {QStringLiteral("unit"), unit}};
            if (number)
                value.insert(QStringLiteral("value"), polled.value);
            values.insert(QString::fromLatin1(channelNames[channel]), value);
        }
        poller.advance();
        session_.finishStatusLine();
        if (request.json)
            printJson({{QStringLiteral("time"), now.toString(Qt::ISODateWithMs)},
                       {QStringLiteral("values"), values}});
        else if (request.csv)
            out_ << csv.join(QLatin1Char(',')) << '\n';
        else
            out_ << EventLog::line(now, QLocale::system(), shown) << '\n';
        out_.flush();
    }
}

int CtlCommands::teachValues(const CtlRequest &request) {
    needArguments(request, 1, 2);
    const QString action = request.arguments.at(0);
    TeachValueTransfer transfer(
        [this](const QString &command) { return session_.sendStep(command); },
        session_.decimalSeparator());
    session_.clearAbort();
    if (action == QLatin1String("read")) {
        needArguments(request, 1, 1);
        if (!request.output.isEmpty())
            checkSettingsTarget(request);
        session_.startProgress(TeachValueTransfer::ProgressMaximum);
        session_.openPort();
        session_.setStatus(session_.message(CatalogueEntry::LoadingData) + session_.portSuffix());
        int range = -1;
        QHash<const TeachValueRow *, int> values;
        transfer.load(
            [&range](int r) { range = r; },
            [&values](const TeachValueRow &row, int value) { values.insert(&row, value); });
        session_.closePort();
        session_.setStatus(session_.message(CatalogueEntry::DataLoaded));
        session_.finishStatusLine();
        const auto captionOf = [&values](const TeachValueRow &row) {
            return QString::number(values.value(&row));
        };
        if (!request.output.isEmpty()) {
            TeachValueFile::write(request.output, captionOf);
            if (!request.json) {
                out_ << request.output << ": " << TeachValueTable::StoredCount
                     << " teach values saved\n";
                out_.flush();
                return kDone;
            }
        }
        QJsonArray rows;
        for (const TeachValueRow &row : TeachValueTable::rows()) {
            const QString name = QString::fromLatin1(row.valueLabel);
            rows.append(QJsonObject{{QStringLiteral("name"), name},
                                    {QStringLiteral("device"), QString::fromLatin1(row.deviceName)},
                                    {QStringLiteral("value"), values.value(&row)}});
            if (!request.json)
                out_ << name.leftJustified(16) << ' ' << values.value(&row) << '\n';
        }
        if (request.json)
            printJson({{QStringLiteral("range"), range}, {QStringLiteral("values"), rows}});
        out_.flush();
        return kDone;
    }
    if (action == QLatin1String("write")) {
        needArguments(request, 2, 2);
        const TeachValueFile::ReadResult file = TeachValueFile::read(request.arguments.at(1));
        if (!file.ok())
            throw EFileFault(file.fault);
        QHash<const TeachValueRow *, QString> captions;
        for (const TeachValueFile::Entry &entry : file.entries)
            captions.insert(entry.row, entry.caption);
        session_.startProgress(TeachValueTransfer::ProgressMaximum);
        session_.openPort();
        session_.setStatus(session_.message(CatalogueEntry::SendingData) + session_.portSuffix());
        const bool accepted =
            transfer.send([&captions](const TeachValueRow &row) { return captions.value(&row); });
        session_.closePort();
        session_.setStatus(
            session_.message(accepted ? CatalogueEntry::DataSent : CatalogueEntry::NotAllSent));
        session_.finishStatusLine();
        if (request.json)
            printJson({{QStringLiteral("accepted"), accepted}});
        if (!accepted)
            throw EDeviceRefused(session_.message(CatalogueEntry::NotAllSent));
        return kDone;
    }
    throw ECtlUsage(QStringLiteral("teach-values: give read or write"));
}

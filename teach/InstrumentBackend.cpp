#include "teach/InstrumentBackend.h"

#include "base/SharedState.h"
#include "base/ToolSettings.h"
#include "link/TComPort.h"
#include "sim/InstrumentBench.h"
#include "sim/UnwiredCoupling.h"
#include "teach/InstrumentBackendSimulated.h"
#include "teach/InstrumentBackendVisa.h"
#include "teach/LinuxGpib.h"

namespace {

const QString kSection = QStringLiteral("IEEE");

// Without a device to couple to, the bench is wired as the instrument settings say, so a demo
// run sends its commands where they are expected.
std::shared_ptr<sim::InstrumentBench> unwiredBench(const GpibSettings &gpib, double waitScale) {
    sim::InstrumentBench::Config config;
    config.pressureControllerAddress = gpib.GPIB1.toLatin1();
    config.daqUnitAddress = gpib.GPIB2.toLatin1();
    config.wiring.outputVoltage = gpib.Agilent_OUTD_Spg.toLatin1();
    config.wiring.outputCurrent = gpib.Agilent_OUTD_Strom.toLatin1();
    config.wiring.multiplexer = gpib.Agilent_IN1_2_Multiplexer.toLatin1();
    config.wiring.inputVoltageSource = gpib.Agilent_IN1_2_Spg.toLatin1();
    config.wiring.inputVoltageMeasure = gpib.Agilent_IN1_2_Spgmessung.toLatin1();
    config.wiring.inputCurrentSource = gpib.Agilent_IN1_2_Strom.toLatin1();
    config.wiring.inputCurrentMeasure = gpib.Agilent_IN1_2_Strommessung.toLatin1();
    config.settlingMs = qint64(sim::PressureControllerSim::DefaultSettlingMs * waitScale);
    return std::make_shared<sim::InstrumentBench>(std::make_shared<sim::UnwiredCoupling>(), config);
}

// linux-gpib, a Prologix adapter or LAN sockets: the open buses, each with its time-outs.
class InstrumentBackendBus : public InstrumentBackend {
public:
    InstrumentBackendBus(Selection selection, BusWait wait)
        : selection_(std::move(selection)), wait_(std::move(wait)) {
        wait_.timeoutMs = selection_.timeoutMs;
    }

    QString describe(InstrumentRole role) const override {
        switch (selection_.kind) {
        case Kind::LinuxGpib:
            return QStringLiteral("linux-gpib (") +
                   (selection_.gpibLibrary.isEmpty()
                        ? QString::fromLatin1(LinuxGpibSession::DefaultLibrary)
                        : selection_.gpibLibrary) +
                   QLatin1Char(')');
        case Kind::Prologix:
            return QStringLiteral("Prologix ") + selection_.prologix;
        default:
            return QStringLiteral("LAN ") + lanAddress(role);
        }
    }

protected:
    std::unique_ptr<InstrumentSession> newSession(InstrumentRole role) override {
        switch (selection_.kind) {
        case Kind::LinuxGpib:
            return std::make_unique<LinuxGpibSession>(wait_, role, selection_.gpibLibrary);
        case Kind::Prologix:
            return std::make_unique<PrologixSession>(wait_, role, selection_.prologix,
                                                     selection_.prologixOverTcp());
        default:
            return std::make_unique<LanSession>(wait_, role, lanAddress(role));
        }
    }

private:
    QString lanAddress(InstrumentRole role) const {
        return role == InstrumentRole::DaqUnit ? selection_.lanDaq : selection_.lanPc;
    }

    Selection selection_;
    BusWait wait_;
};

} // namespace

QString InstrumentBackend::Selection::kindKey(Kind kind) {
    switch (kind) {
    case Kind::Simulated:
        return QStringLiteral("simulated");
    case Kind::LinuxGpib:
        return QStringLiteral("linux-gpib");
    case Kind::Prologix:
        return QStringLiteral("prologix");
    case Kind::Lan:
        return QStringLiteral("lan");
    default:
        return QStringLiteral("visa");
    }
}

bool InstrumentBackend::Selection::kindOfKey(const QString &key, Kind *kind) {
    for (Kind k : {Kind::Visa, Kind::Simulated, Kind::LinuxGpib, Kind::Prologix, Kind::Lan}) {
        if (key.trimmed().compare(kindKey(k), Qt::CaseInsensitive) == 0) {
            *kind = k;
            return true;
        }
    }
    return false;
}

bool InstrumentBackend::Selection::prologixOverTcp() const {
    return !prologix.startsWith(QLatin1Char('/')) &&
           !prologix.startsWith(QLatin1String("COM"), Qt::CaseInsensitive);
}

InstrumentBackend::Selection InstrumentBackend::Selection::read(const QString &toolSettingsDir) {
    const ToolSettings settings(toolSettingsDir);
    Selection selection;
    if (!kindOfKey(settings.readString(kSection, QStringLiteral("Backend")), &selection.kind))
        selection.kind = Kind::Visa;
    selection.visaLibrary = settings.readString(kSection, QStringLiteral("VisaLibrary"));
    selection.gpibLibrary = settings.readString(kSection, QStringLiteral("GpibLibrary")).trimmed();
    selection.prologix = settings.readString(kSection, QStringLiteral("Prologix")).trimmed();
    selection.lanDaq = settings.readString(kSection, QStringLiteral("LanDaq")).trimmed();
    selection.lanPc = settings.readString(kSection, QStringLiteral("LanPc")).trimmed();
    bool ok = false;
    const int timeout = settings.readString(kSection, QStringLiteral("BusTimeoutMs")).toInt(&ok);
    if (ok && timeout > 0)
        selection.timeoutMs = timeout;
    selection.prologix = adapterDevice(selection.prologix, toolSettingsDir);
    return selection;
}

QString InstrumentBackend::Selection::adapterDevice(const QString &adapter,
                                                    const QString &toolSettingsDir) {
    if (!adapter.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return adapter;
    const QString name = TComPort::normalizeName(adapter);
    return ToolSettings(toolSettingsDir).portBindings().value(name, TComPort::defaultDevice(name));
}

bool InstrumentBackend::Selection::applyBus(const QString &bus, QString *error) {
    const int colon = bus.indexOf(QLatin1Char(':'));
    const QString key = colon < 0 ? bus : bus.left(colon);
    const QString rest = colon < 0 ? QString() : bus.mid(colon + 1).trimmed();
    Kind kind;
    if (!kindOfKey(key, &kind) || kind == Kind::Simulated) {
        *error = QStringLiteral("--bus: unknown bus \"%1\" (visa[:LIBRARY], linux-gpib, "
                                "prologix:DEVICE, prologix:HOST[:PORT], "
                                "lan:DAQ_HOST:PORT,PC_HOST:PORT)")
                     .arg(bus);
        return false;
    }
    switch (kind) {
    case Kind::Visa:
        if (!rest.isEmpty())
            visaLibrary = rest;
        break;
    case Kind::LinuxGpib:
        if (!rest.isEmpty())
            gpibLibrary = rest;
        break;
    case Kind::Prologix:
        if (rest.isEmpty()) {
            *error = QStringLiteral("--bus prologix: needs the adapter (DEVICE or HOST[:PORT])");
            return false;
        }
        prologix = rest;
        break;
    default: {
        const QStringList hosts = rest.split(QLatin1Char(','));
        if (hosts.size() != 2 || hosts.at(0).trimmed().isEmpty() ||
            hosts.at(1).trimmed().isEmpty()) {
            *error = QStringLiteral("--bus lan: needs DAQ_HOST:PORT,PC_HOST:PORT");
            return false;
        }
        lanDaq = hosts.at(0).trimmed();
        lanPc = hosts.at(1).trimmed();
    }
    }
    this->kind = kind;
    return true;
}

std::unique_ptr<InstrumentBackend>
InstrumentBackend::create(const Selection &selection, std::shared_ptr<sim::InstrumentBench> bench,
                          const GpibSettings &gpib, double waitScale, BusWait wait) {
    switch (selection.kind) {
    case Kind::Visa:
        return std::make_unique<InstrumentBackendVisa>(selection.visaLibrary);
    case Kind::Simulated:
        if (!bench)
            bench = unwiredBench(gpib, waitScale);
        return std::make_unique<InstrumentBackendSimulated>(std::move(bench));
    default:
        return std::make_unique<InstrumentBackendBus>(selection, std::move(wait));
    }
}

#include "teach/InstrumentBackend.h"

#include "app/SharedState.h"
#include "app/ToolSettings.h"
#include "sim/InstrumentBench.h"
#include "sim/UnwiredCoupling.h"
#include "teach/InstrumentBackendSimulated.h"
#include "teach/InstrumentBackendVisa.h"

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

} // namespace

InstrumentBackend::Selection InstrumentBackend::Selection::read(const QString &toolSettingsDir) {
    const ToolSettings settings(toolSettingsDir);
    Selection selection;
    const QString kind = settings.readString(kSection, QStringLiteral("Backend")).trimmed();
    if (kind.compare(QLatin1String("simulated"), Qt::CaseInsensitive) == 0)
        selection.kind = Kind::Simulated;
    selection.visaLibrary = settings.readString(kSection, QStringLiteral("VisaLibrary"));
    return selection;
}

std::unique_ptr<InstrumentBackend>
InstrumentBackend::create(const Selection &selection, std::shared_ptr<sim::InstrumentBench> bench,
                          const GpibSettings &gpib, double waitScale) {
    if (selection.kind == Kind::Visa)
        return std::make_unique<InstrumentBackendVisa>(selection.visaLibrary);
    if (!bench)
        bench = unwiredBench(gpib, waitScale);
    return std::make_unique<InstrumentBackendSimulated>(std::move(bench));
}

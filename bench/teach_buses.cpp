// Teach-run benchmark per instrument bus. (1) A whole teach run (all seven groups, +/-250 Pa)
// against the simulated bench through each bus — the simulated seam, linux-gpib (the stand-in
// library), a Prologix adapter on a pseudo-terminal and on TCP, LAN sockets — with every wait
// of the run at its real length scaled by one factor (the controller's settling likewise). The
// figure is the run's time divided by the sum of the waits it made: the device line is
// in-process and the buses local, so their wire time is nil and everything above 1 is the
// tool's own overhead (goal <= 1.01). (2) The round trip of one "MEAS:VOLT:DC?" on each bus,
// to zelsim --bench in a process of its own (Prologix, LAN) or the stand-in library (linux-gpib).
// Usage: bench_teach_buses [wait factor, 0.05] [round trips, 200] [only this bus]
#include "app/ZelApplication.h"
#include "base/Waits.h"
#include "sim/UnwiredCoupling.h"
#include "teach/InstrumentBackend.h"
#include "teach/InstrumentCommands.h"
#include "tests/teach/test_busrun_fixture.h"

#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void wholeRun(const QString &bus, double factor) {
    busrun::BusRun run(bus, 5000, factor);
    run.fx.chooseGroups(TeachRunFixture::AllGroups, false);
    run.fx.bench->pressureController().setSettlingMs(
        std::int64_t(sim::PressureControllerSim::DefaultSettlingMs * factor));
    double waited = 0;
    QObject::connect(&run.fx.window().waits(), &Waits::completed,
                     [&waited](int ms) { waited += ms; });
    QElapsedTimer clock;
    clock.start();
    run.fx.click("ButtonTeach");
    const double ms = clock.nsecsElapsed() / 1e6;
    std::printf("%-14s run %9.1f ms  waits %9.1f ms  ratio %.4f  (%s)\n", qPrintable(bus), ms,
                waited, waited > 0 ? ms / waited : 0.0, qPrintable(run.fx.status()));
}

void roundTrips(const QString &bus, InstrumentBackend::Selection selection,
                const std::shared_ptr<sim::InstrumentBench> &bench, int count) {
    GpibSettings gpib;
    gpib.GPIB1 = QStringLiteral("1");
    gpib.GPIB2 = QStringLiteral("9");
    BusWait wait;
    wait.pump = [] { QCoreApplication::processEvents(); };
    try {
        const std::unique_ptr<InstrumentBackend> backend =
            InstrumentBackend::create(selection, bench, gpib, 1.0, wait);
        const std::unique_ptr<InstrumentSession> daq =
            backend->createSession(InstrumentRole::DaqUnit);
        daq->open(InstrumentCommands::resourceName(gpib.GPIB2));
        const QString query = InstrumentCommands::measureVoltage(QStringLiteral("101"));
        std::vector<double> us;
        for (int i = 0; i < count; ++i) {
            QElapsedTimer clock;
            clock.start();
            daq->write(query);
            daq->read(InstrumentSession::DefaultReadCount);
            us.push_back(clock.nsecsElapsed() / 1e3);
        }
        daq->close();
        std::sort(us.begin(), us.end());
        std::printf("%-14s MEAS:VOLT:DC? round trip: median %8.1f us, 90 %% %8.1f us, max %8.1f "
                    "us (%d)\n",
                    qPrintable(bus), us[us.size() / 2], us[us.size() * 9 / 10], us.back(), count);
    } catch (const std::exception &error) {
        std::printf("%-14s failed: %s\n", qPrintable(bus), error.what());
    }
}

} // namespace

int main(int argc, char *argv[]) {
    ZelApplication app(argc, argv);
    const double factor = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 0.05;
    const int count = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 200;
    const QString only = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    std::printf("whole teach run, waits scaled by %g:\n", factor);
    for (const char *bus : {"simulated", "linux-gpib", "prologix-pty", "prologix-tcp", "lan"}) {
        if (only.isEmpty() || only == QLatin1String(bus))
            wholeRun(QString::fromLatin1(bus), factor);
    }
    std::fflush(stdout);

    std::printf("\nbus round trips:\n");
    QProcess zelsim;
    zelsim.start(QStringLiteral(ZELSIM_PATH), {"--pty", "--bench", "--no-noise"});
    QMap<QString, QString> endpoints;
    while (endpoints.size() < 4 && zelsim.waitForReadyRead(5000)) {
        while (zelsim.canReadLine()) {
            const QStringList words =
                QString::fromLocal8Bit(zelsim.readLine()).trimmed().split(QLatin1Char(' '));
            if (words.size() == 2)
                endpoints.insert(words.at(0), words.at(1));
        }
    }
    using Kind = InstrumentBackend::Kind;
    InstrumentBackend::Selection selection;
    selection.kind = Kind::Simulated;
    auto unwired = std::make_shared<sim::InstrumentBench>(std::make_shared<sim::UnwiredCoupling>(),
                                                          sim::InstrumentBench::Config());
    roundTrips(QStringLiteral("simulated"), selection, unwired, count);
    {
        busrun::FakeGpib gpib(*unwired);
        selection.kind = Kind::LinuxGpib;
        selection.gpibLibrary = QStringLiteral(FAKEGPIB_PATH);
        roundTrips(QStringLiteral("linux-gpib"), selection, nullptr, count);
    }
    selection.kind = Kind::Prologix;
    selection.prologix = endpoints.value(QStringLiteral("prologix-serial"));
    roundTrips(QStringLiteral("prologix-pty"), selection, nullptr, count);
    selection.prologix = endpoints.value(QStringLiteral("prologix-tcp"));
    roundTrips(QStringLiteral("prologix-tcp"), selection, nullptr, count);
    selection.kind = Kind::Lan;
    selection.lanDaq = endpoints.value(QStringLiteral("lan-daq"));
    roundTrips(QStringLiteral("lan"), selection, nullptr, count);
    zelsim.terminate();
    zelsim.waitForFinished(5000);
    return 0;
}

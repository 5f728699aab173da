// zelsim: a simulated ZEL 40 / ZEL 80 on a pseudo-terminal.

#include "sim/BenchServer.h"
#include "sim/FaultRule.h"
#include "sim/InstrumentBench.h"
#include "sim/LockedCoupling.h"
#include "sim/PtyDevice.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

namespace {

using sim::FaultRule;
using Kind = FaultRule::Kind;

struct NumberedFault {
    const char *option;
    const char *help;
    Kind kind;
    int count;
    int offset; // added to N: "--hangup-after N" hits command N + 1
};

const NumberedFault kNumberedFaults[] = {
    {"silent-from", "Answer nothing from the Nth command on.", Kind::Silence, FaultRule::Always, 0},
    {"silent", "Answer nothing to the Nth command only.", Kind::Silence, 1, 0},
    {"err-once", "Answer the Nth command with \"Err\" (its resend is answered).", Kind::Err, 1, 0},
    {"err-from", "Answer \"Err\" to every command from the Nth on.", Kind::Err, FaultRule::Always,
     0},
    {"empty", "Answer the Nth command with a bare CR.", Kind::Empty, 1, 0},
    {"garbage", "Answer the Nth command with non-ASCII bytes and NUL.", Kind::Garbage, 1, 0},
    {"no-cr", "Answer the Nth command without the closing CR.", Kind::NoCr, 1, 0},
    {"flood", "Answer the Nth command with over 1024 bytes and no CR.", Kind::Flood, 1, 0},
    {"hangup-after", "Answer N commands, then close the terminal when the next one arrives.",
     Kind::HangUp, 1, 1},
};

void addOptions(QCommandLineParser &parser) {
    parser.setApplicationDescription(
        "Simulated ZEL 40 / ZEL 80 differential-pressure monitor on a pseudo-terminal.\n"
        "Prints the terminal's path as the first line and serves until SIGINT or SIGTERM.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"parent", "End together with the process PID (as the demo of zeltool starts it).", "PID"},
        {"pty", "Serve on a new pseudo-terminal (required)."},
        {"range", "Start as the +/-100 Pa or the +/-250 Pa variant (default 250).", "100|250",
         "250"},
        {"no-recalibration", "A variant without field re-calibration."},
        {"log", "Append every command and reply with a timestamp to FILE.", "FILE"},
        {"wire-time", "Pace replies like a 9600-baud 8N1 line (about 1.04 ms per character)."},
        {"pressure", "Pressure applied to the device, in Pa (default 0).", "PA"},
        {"zero-ms", "Duration of a zeroing after \"MZ\" (default 3000).", "MS"},
        {"seed", "Seed of the sensor noise (default 1).", "N"},
        {"no-noise", "Live values without drift and noise."},
        {"delay-ms", "Delay every reply by MS milliseconds.", "MS"},
        {"reply", "Always answer command CMD with TEXT (repeatable).", "CMD=TEXT"},
        {"bench", "Also serve the teach bench: the pressure controller (GPIB 1) and the "
                  "data-acquisition unit (GPIB 9) behind a simulated Prologix adapter on a second "
                  "pseudo-terminal and on a TCP port, and as LAN instruments on TCP ports; one "
                  "line per endpoint follows the device's path."},
        {"settling-ms", "--bench: settling time of the pressure controller (default 4000).", "MS"},
    });
    for (const NumberedFault &f : kNumberedFaults)
        parser.addOption({f.option, f.help, "N"});
}

double numberOption(const QCommandLineParser &parser, const QString &name, double min) {
    bool ok = false;
    const double v = parser.value(name).toDouble(&ok);
    if (!ok || v < min)
        throw std::invalid_argument("invalid value for --" + name.toStdString() + ": " +
                                    parser.value(name).toStdString());
    return v;
}

int intOption(const QCommandLineParser &parser, const QString &name, int min) {
    bool ok = false;
    const int v = parser.value(name).toInt(&ok);
    if (!ok || v < min)
        throw std::invalid_argument("invalid value for --" + name.toStdString() + ": " +
                                    parser.value(name).toStdString());
    return v;
}

void configureFaults(const QCommandLineParser &parser, sim::PtyDevice &device) {
    for (const NumberedFault &f : kNumberedFaults) {
        if (parser.isSet(f.option)) {
            const int n = intOption(parser, f.option, f.offset == 0 ? 1 : 0);
            device.addFault(FaultRule::onCommandNumber(n + f.offset, f.kind, f.count));
        }
    }
    if (parser.isSet("delay-ms"))
        device.addFault(FaultRule::delayFrom(1, intOption(parser, "delay-ms", 0)));
    for (const QString &spec : parser.values("reply")) {
        const int eq = spec.indexOf('=');
        if (eq <= 0)
            throw std::invalid_argument("--reply needs CMD=TEXT: " + spec.toStdString());
        device.addFault(
            FaultRule::customReply(spec.left(eq).toLatin1(), spec.mid(eq + 1).toLatin1()));
    }
}

void configureDevice(const QCommandLineParser &parser, sim::PtyDevice &device) {
    const double pressure = parser.isSet("pressure") ? numberOption(parser, "pressure", -1e9) : 0;
    const int zeroMs = parser.isSet("zero-ms") ? intOption(parser, "zero-ms", 0) : -1;
    const bool recal = !parser.isSet("no-recalibration");
    const bool noise = !parser.isSet("no-noise");
    device.withModel([&](sim::DeviceModel &model) {
        model.setAppliedPressure(pressure);
        model.setRecalibrationSupported(recal);
        model.setNoiseEnabled(noise);
        if (zeroMs >= 0)
            model.setZeroDurationMs(zeroMs);
    });
    device.setWireTime(parser.isSet("wire-time"));
    if (parser.isSet("log"))
        device.setLogFile(parser.value("log"));
    configureFaults(parser, device);
}

int measRangeOption(const QCommandLineParser &parser) {
    const QString range = parser.value("range");
    if (range == "250")
        return 0;
    if (range == "100")
        return 1;
    throw std::invalid_argument("--range must be 100 or 250");
}

// The side a pressure point is taught on, from ">TPStuetz" + index: DTR for the plus port
// above index 11, RTS for the minus port below it, neither at 0 Pa.
std::optional<sim::ModemLines> valvesForTeachCommand(const QByteArray &command) {
    static const QByteArray head = ">TPStuetz";
    if (!command.startsWith(head))
        return std::nullopt;
    bool ok = false;
    const int index = command.mid(head.size()).trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return sim::ModemLines{index > 11, index < 11};
}

// The bench instruments act on the device of this process. A pseudo-terminal carries no modem
// lines, so the valves that route the pressure follow the sign of the device's own teach
// command: ">TPStuetz" + i teaches the point of index i, whose side is known (below 11 minus,
// above plus); until then the pressure reaches both ports alike.
void serveBench(const QCommandLineParser &parser, sim::PtyDevice &device,
                const sigset_t &stopSignals) {
    auto coupling = std::make_shared<sim::LockedCoupling>(
        [&device](const std::function<void(sim::DeviceModel &)> &fn) { device.withModel(fn); });
    sim::InstrumentBench::Config config;
    if (parser.isSet("settling-ms"))
        config.settlingMs = intOption(parser, "settling-ms", 0);
    auto bench = std::make_shared<sim::InstrumentBench>(coupling, config);
    bench->setLogObserver([&device](const QByteArray &entry) { device.logNote("bench " + entry); });
    sim::BenchServer server(bench);
    const QString adapterPty = server.startPrologixPty();
    const quint16 adapterPort = server.listenPrologixTcp();
    const quint16 daqPort = server.listenLanDaq();
    const quint16 pcPort = server.listenLanPc();
    std::printf("prologix-serial %s\nprologix-tcp 127.0.0.1:%u\nlan-daq 127.0.0.1:%u\n"
                "lan-pc 127.0.0.1:%u\n",
                adapterPty.toLocal8Bit().constData(), unsigned(adapterPort), unsigned(daqPort),
                unsigned(pcPort));
    std::fflush(stdout);
    device.setCommandObserver([coupling](const QByteArray &command) {
        if (const auto lines = valvesForTeachCommand(command))
            coupling->setLines(*lines);
    });
    std::thread stopper([&stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    });
    QCoreApplication::exec();
    stopper.join();
    device.setCommandObserver({});
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("zelsim");
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELTOOL_VERSION));
    QCommandLineParser parser;
    addOptions(parser);
    parser.process(app);
    if (!parser.isSet("pty")) {
        std::fprintf(stderr, "zelsim: --pty is required (see --help)\n");
        return 2;
    }

    // Blocked before the worker starts, so it inherits the mask and only sigwait() sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    // The kernel sends SIGTERM when the parent ends, however it ends (a crash included); a
    // parent already gone before this line is seen by its pid.
    if (parser.isSet("parent")) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parser.value("parent").toInt())
            return 0;
    }

    try {
        const std::uint32_t seed =
            parser.isSet("seed") ? static_cast<std::uint32_t>(intOption(parser, "seed", 0)) : 1;
        sim::PtyDevice device(measRangeOption(parser), seed);
        configureDevice(parser, device);
        const QString path = device.start();
        std::printf("%s\n", path.toLocal8Bit().constData());
        std::fflush(stdout);
        if (parser.isSet("bench")) {
            serveBench(parser, device, stopSignals);
        } else {
            int signal = 0;
            sigwait(&stopSignals, &signal);
        }
        device.stop();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "zelsim: %s\n", e.what());
        return 1;
    }
    return 0;
}

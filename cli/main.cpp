// zelctl: the device jobs of zeltool from a shell, on the same device core, without a display.
#include "base/Errors.h"
#include "base/FileFault.h"
#include "base/ToolSettings.h"
#include "cli/ConsoleSession.h"
#include "cli/CtlCommands.h"
#include "cli/CtlOutput.h"
#include "i18n/MessageCatalogue.h"
#include "link/WireText.h"
#include "report/LiveCheck.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#ifdef ZELCTL_DRAWS_PAGES
#include <QGuiApplication>
#endif
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

const char *const kCommands =
    "Commands:\n"
    "  ports [--probe]            COM names, the devices they map to, present serial devices;\n"
    "                             --probe asks each port whether a ZEL 40 / ZEL 80 answers\n"
    "  read [-o FILE.zel]         load the 50 settings; print them or save them as the window "
    "does\n"
    "  write FILE.zel [--verify]  send the settings of a file; --verify reads back and compares\n"
    "  diff FILE.zel              the device against a file, setting by setting (1: they differ)\n"
    "  get NAME...                read single settings\n"
    "  set NAME=VALUE...          write single settings (lists take their number)\n"
    "  factory 100|250            factory settings for the +/-100 Pa or +/-250 Pa range\n"
    "  zero                       zero the pressure\n"
    "  reset                      restart the device\n"
    "  watch [--interval S] [--count N] [--csv]\n"
    "                             the live values, one line per interval (Ctrl-C ends)\n"
    "  teach-values read [-o FILE] | write FILE\n"
    "                             the teach values (production)\n"
    "  report -o FILE.pdf [--from FILE.zel] [--check S] [--technician T] [--site S]\n"
    "         [--tag T] [--remarks R] [--force]\n"
    "                             the commissioning report of the device (or of a file) as PDF;\n"
    "                             -o - writes it to standard output\n"
    "  teach [--range 100|250] [--groups G,...] [--factory] [--yes] [--bus BUS] [-o FILE.csv]\n"
    "                             the production teach run (1: a point failed); groups:\n"
    "                             pressure, out-current, out-voltage, in1-current,\n"
    "                             in1-voltage, in2-current, in2-voltage (default all)\n"
    "  bench-check [--bus BUS]    ask each instrument of the bench one harmless question\n"
    "                             (1: one did not answer)\n"
    "  BUS: visa[:LIBRARY] | linux-gpib | prologix:DEVICE | prologix:HOST[:PORT] |\n"
    "       lan:DAQ_HOST:PORT,PC_HOST:PORT (default: the tool settings file)\n"
    "\n"
    "Exit codes: 0 done, 1 the device refused something (diff: the settings differ),\n"
    "2 link failure or abort, 3 usage or file error.";

int languageOf(const QString &name) {
    if (name == QLatin1String("de"))
        return 0;
    if (name == QLatin1String("en"))
        return 1;
    if (name == QLatin1String("fr"))
        return 2;
    throw ECtlUsage(QStringLiteral("--lang takes de, en or fr"));
}

// A failure in the language of the messages; the usage texts are English, as --help is.
QString messageIn(const std::exception &error, int language) {
    if (const auto *unsafe = dynamic_cast<const EUnsafeValue *>(&error))
        return unsafe->message(language);
    if (const auto *file = dynamic_cast<const EFileFault *>(&error))
        return file->fault().text(language);
    if (const auto *output = dynamic_cast<const EOutputFailed *>(&error))
        return output->message(language);
    if (const auto *number = dynamic_cast<const EConvertError *>(&error))
        return MessageCatalogue::text(number->wanted() == EConvertError::Wanted::Float
                                          ? CatalogueEntry::NotAFloat
                                          : CatalogueEntry::NotAnInteger,
                                      language)
            .arg(number->text());
    return messageOf(error);
}

// A stop signal asks the running command to stop, as the abort button does; the handler only
// writes to a pipe and sets a flag. A second one ends the program at once.
int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t stopSignals = 0;

void onStopSignal(int) {
    if (++stopSignals > 1)
        ::_exit(CtlCommands::kLinkFailure);
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

void abortOnStopSignals(ConsoleSession &session) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &session);
    QObject::connect(notifier, &QSocketNotifier::activated, &session, [&session] {
        char byte;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        session.abortBySignal();
    });
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

// The report lays out text, which needs the fonts of a GUI application; it draws on no screen.
// Every other command makes do with the core application, and zelctl itself, which links no
// graphics library, hands the report over to zelctl-report before it draws.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[], bool drawsPages) {
#ifdef ZELCTL_DRAWS_PAGES
    if (drawsPages) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The platform's start-up notes (such as a missing XDG_RUNTIME_DIR in a container) mean
        // nothing to a command that shows no window, and standard error is for failures.
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        auto app = std::make_unique<QGuiApplication>(argc, argv);
        qInstallMessageHandler(previous);
        return app;
    }
#else
    Q_UNUSED(drawsPages);
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

// Builds with AddressSanitizer check for leaks when main returns; they take the ordinary way out.
#ifndef __has_feature
#define __has_feature(feature) 0 // GCC says it with __SANITIZE_ADDRESS__
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
constexpr bool kOrdinaryExit = true;
#else
constexpr bool kOrdinaryExit = false;
#endif

// The command is over: its output is written and checked, its port closed and its files saved.
// Tearing down the application object, the event dispatcher and the libraries one by one would
// only add time to every scripted call, so the process ends here.
[[noreturn]] void endProcess(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace

int main(int argc, char *argv[]) {
    // The command decides which application object is made, so it is parsed first.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("ZEL 40 / ZEL 80 settings, values and actions from a shell.\n\n") +
        QLatin1String(kCommands));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral(
            "COMn, a device path, tcp://HOST:PORT or rfc2217://HOST:PORT (default: the tool "
            "settings file, as the window)."),
        QStringLiteral("port"));
    const QCommandLineOption lang(QStringLiteral("lang"),
                                  QStringLiteral("Language of messages and captions: de, en, fr."),
                                  QStringLiteral("lang"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Machine-readable output."));
    const QCommandLineOption output(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write to FILE (report: - for standard output)."), QStringLiteral("FILE"));
    const QCommandLineOption verify(QStringLiteral("verify"),
                                    QStringLiteral("write: read back and compare."));
    const QCommandLineOption interval(QStringLiteral("interval"),
                                      QStringLiteral("watch: seconds between lines (default 1)."),
                                      QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("watch: stop after N lines."),
                                   QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("watch: comma-separated values."));
    const QCommandLineOption replyTimeout(
        QStringLiteral("reply-timeout"),
        QStringLiteral("Milliseconds to wait for a reply (default 50000)."), QStringLiteral("ms"),
        QStringLiteral("50000"));
    const QCommandLineOption from(QStringLiteral("from"),
                                  QStringLiteral("report: the settings of FILE.zel, no device."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("report: a live-value check of S seconds (1 to %1).")
            .arg(LiveCheck::kMaxSeconds),
        QStringLiteral("S"));
    const QCommandLineOption technician(QStringLiteral("technician"),
                                        QStringLiteral("report: who commissioned the device."),
                                        QStringLiteral("T"));
    const QCommandLineOption site(QStringLiteral("site"),
                                  QStringLiteral("report: the customer or site."),
                                  QStringLiteral("S"));
    const QCommandLineOption tag(QStringLiteral("tag"),
                                 QStringLiteral("report: the device tag or location."),
                                 QStringLiteral("T"));
    const QCommandLineOption remarks(QStringLiteral("remarks"), QStringLiteral("report: remarks."),
                                     QStringLiteral("R"));
    const QCommandLineOption probe(QStringLiteral("probe"),
                                   QStringLiteral("ports: ask every port for a device."));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("report: replace an existing file."));
    parser.addOptions({port, lang, json, output, verify, interval, count, csv, replyTimeout, from,
                       check, technician, site, tag, remarks, force, probe});
    const QCommandLineOption range(QStringLiteral("range"),
                                   QStringLiteral("teach: measuring range 100 or 250 (Pa)."),
                                   QStringLiteral("PA"));
    const QCommandLineOption groups(QStringLiteral("groups"),
                                    QStringLiteral("teach: the groups to teach, comma-separated."),
                                    QStringLiteral("G"));
    const QCommandLineOption factoryFirst(
        QStringLiteral("factory"), QStringLiteral("teach: restore the factory state first."));
    const QCommandLineOption yes(QStringLiteral("yes"),
                                 QStringLiteral("teach: the bench is wired for the whole run; "
                                                "no operator prompts."));
    const QCommandLineOption bus(QStringLiteral("bus"),
                                 QStringLiteral("teach, bench-check: the instruments' bus."),
                                 QStringLiteral("BUS"));
    parser.addOptions({range, groups, factoryFirst, yes, bus});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("What to do (see above)."));
    const bool parsed = parser.parse(arguments);
    const auto app = makeApplication(
        argc, argv, parsed && parser.positionalArguments().value(0) == QLatin1String("report"));
    QCoreApplication::setApplicationName(QStringLiteral("zelctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELTOOL_VERSION));
    // Option errors are usage errors (exit 3), not "refused".
    if (!parsed) {
        std::fprintf(stderr, "zelctl: %s (try --help)\n", qPrintable(parser.errorText()));
        return CtlCommands::kUsage;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    CtlOutput out(STDOUT_FILENO);
    QTextStream err(stderr);
    int language = 0;
    CtlRequest request;
    const QStringList positional = parser.positionalArguments();
    request.command = positional.value(0);
    for (int i = 0; i < argc; ++i)
        request.commandLine.append(QByteArray(argv[i]));
    request.arguments = positional.mid(1);
    request.output = parser.value(output);
    const bool outputNamed = parser.isSet(output);
    request.verify = parser.isSet(verify);
    request.json = parser.isSet(json);
    request.csv = parser.isSet(csv);
    request.from = parser.value(from);
    request.fields = {parser.value(technician), parser.value(site), parser.value(tag),
                      parser.value(remarks)};
    request.force = parser.isSet(force);
    request.probe = parser.isSet(probe);
    request.range = parser.value(range);
    request.groups = parser.value(groups);
    request.factory = parser.isSet(factoryFirst);
    request.yes = parser.isSet(yes);
    request.bus = parser.value(bus);

    int code = CtlCommands::kDone;
    try {
        bool ok = false;
        // An empty shell variable must not turn "-o FILE" into "print".
        if (outputNamed && request.output.isEmpty())
            throw ECtlUsage(QStringLiteral("-o takes a file name (- for standard output)"));
        request.intervalSeconds = parser.value(interval).toDouble(&ok);
        if (!ok)
            throw ECtlUsage(QStringLiteral("--interval takes seconds"));
        request.count = parser.value(count).toInt(&ok);
        if (!ok || request.count < 0)
            throw ECtlUsage(QStringLiteral("--count takes a number of lines"));
        if (parser.isSet(check)) {
            request.checkSeconds = parser.value(check).toInt(&ok);
            if (!ok || request.checkSeconds < 1 || request.checkSeconds > LiveCheck::kMaxSeconds)
                throw ECtlUsage(QStringLiteral("--check takes seconds from 1 to %1")
                                    .arg(LiveCheck::kMaxSeconds));
        }
        ConsoleSession::Options options;
        options.executableDir = QCoreApplication::applicationDirPath();
        options.port = parser.value(port);
        options.portNamed = parser.isSet(port);
        options.language = parser.isSet(lang) ? languageOf(parser.value(lang))
                                              : ToolSettings(options.executableDir).language();
        language = options.language;
        options.replyTimeoutMs = parser.value(replyTimeout).toInt(&ok);
        if (!ok || options.replyTimeoutMs <= 0)
            throw ECtlUsage(QStringLiteral("--reply-timeout takes milliseconds"));
        options.statusLine = ::isatty(STDERR_FILENO) == 1;
        // Shortens every wait, for trying the teach run against zelsim; never on a real bench.
        const double scale = qEnvironmentVariable("ZELCTL_WAIT_SCALE").toDouble(&ok);
        if (ok && scale > 0.0 && scale <= 1.0)
            options.waitScale = scale;
        ConsoleSession session(std::move(options));
        abortOnStopSignals(session);
        CtlCommands commands(session, out);
        try {
            code = commands.run(request);
            out.flush();
        } catch (...) {
            session.finishStatusLine();
            throw;
        }
    } catch (const std::exception &error) {
        try {
            out.flush();
        } catch (const EOutputFailed &) {
            // The failure being reported is what counts.
        }
        err << "zelctl: " << CtlOutput::escaped(messageIn(error, language)) << '\n';
        err.flush();
        code = CtlCommands::exitCodeOf(error);
    }
    err.flush();
    if (!kOrdinaryExit)
        endProcess(code);
    return code;
}

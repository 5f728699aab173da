#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzSerialDriver.h"
#include "fuzz/FuzzTargets.h"

#include "base/Errors.h"
#include "link/CommandExchange.h"
#include "link/EComPort.h"
#include "link/TComPort.h"

// Command exchanges in a row against a device whose answers are the input, with waits the
// user gives up: each ends in a reply to its own line or an exception with a message, after a
// bounded number of attempts, and no reply owed by an earlier line is taken for a later one.
namespace zelfuzz {

namespace {

constexpr char kAnswerEnd = '\xff';
const QByteArray kSilence("\xfe");

QString takeCommand(FuzzInput &in) {
    static const char *const commands[] = {"?IP", "?IN1",      "?ScalPdown", ">ScalPup 250.5",
                                           "MZ",  ">TCalibOK", "?MeasRange", "SaveSet"};
    const int pick = in.pick(9);
    if (pick < 8)
        return QLatin1String(commands[pick]);
    return QString::fromLatin1(in.bytesUntil(kAnswerEnd, 80));
}

QList<std::optional<QByteArray>> takeAnswers(FuzzInput &in) {
    QList<std::optional<QByteArray>> answers;
    while (!in.atEnd()) {
        const QByteArray answer = in.bytesUntil(kAnswerEnd, 4096);
        if (answer == kSilence)
            answers.append(std::nullopt);
        else
            answers.append(answer);
    }
    return answers;
}

} // namespace

void exchange(const QByteArray &data) {
    FuzzInput in(data);
    const std::uint8_t flags = in.byte();
    const bool abortable = flags & 1;
    const int count = 1 + ((flags >> 1) & 3); // exchanges in a row, as actions follow each other
    const std::uint8_t givenUpWaits = in.byte();
    QStringList commands;
    for (int i = 0; i < count; ++i)
        commands << takeCommand(in);

    auto driver = std::make_unique<FuzzSerialDriver>(takeAnswers(in), givenUpWaits);
    FuzzSerialDriver &line = *driver;
    TComPort port(std::move(driver));
    port.open();

    QString status = QStringLiteral("ready");
    CommandExchange::Hooks hooks;
    hooks.pumpMessages = [] {};
    hooks.abortRequested = [&] { return line.abortRequested(); };
    hooks.statusText = [&] { return status; };
    hooks.setStatus = [&](const QString &text) { status = text; };
    hooks.message = [](CatalogueEntry entry) { return QStringLiteral("entry %1").arg(int(entry)); };
    // Long enough that no owed reply runs out of time in a run: only the device decides.
    CommandExchange exchange(port, hooks, 60000);

    for (const QString &command : std::as_const(commands)) {
        line.clearAbort();
        const int firstLine = int(line.written().size());
        try {
            const QString reply = exchange.send(command, abortable);
            check(reply != QLatin1String("Err"), "an exchange never returns Err");
            QString read = QString::fromLatin1(line.lastRead());
            read.chop(1);
            check(reply == read, "the reply is what was read, without its last character");
            check(reply.size() < 1024, "the reply is cut at the read limit");
            for (int from : line.lastReadFrom())
                check(from >= firstLine, "a reply answers a line of its own exchange");
        } catch (const EGlobalError &e) {
            check(!e.message().isEmpty(), "a failed exchange has a message");
        }
        const QByteArray expected = command.left(CommandExchange::kCommandLimit).toLatin1() + '\r';
        for (int i = firstLine; i < line.written().size(); ++i)
            check(line.written()[i] == expected,
                  "every attempt writes the command, cut to its limit, and CR");
        check(line.written().size() - firstLine <= line.answerCount() + 2,
              "no more attempts than answers and two failures");
    }
}

} // namespace zelfuzz

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzSerialDriver.h"
#include "fuzz/FuzzTargets.h"

#include "app/Errors.h"
#include "link/CommandExchange.h"
#include "link/EComPort.h"
#include "link/TComPort.h"

// One command exchange against a device whose answers are the input: the reply is a returned
// text or an exception with a message, after a bounded number of attempts.
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
    const int abortAfter = (flags >> 1) & 0x0f; // 0: the user never aborts
    const QString command = takeCommand(in);

    auto driver = std::make_unique<FuzzSerialDriver>(takeAnswers(in));
    FuzzSerialDriver &line = *driver;
    TComPort port(std::move(driver));
    port.open();

    QString status = QStringLiteral("ready");
    int abortPolls = 0;
    CommandExchange::Hooks hooks;
    hooks.pumpMessages = [] {};
    hooks.abortRequested = [&] { return abortAfter > 0 && ++abortPolls >= abortAfter; };
    hooks.statusText = [&] { return status; };
    hooks.setStatus = [&](const QString &text) { status = text; };
    hooks.message = [](int entry) { return QStringLiteral("entry %1").arg(entry); };
    CommandExchange exchange(port, hooks, 10);

    try {
        const QString reply = exchange.send(command, abortable);
        check(reply != QLatin1String("Err"), "an exchange never returns Err");
        QString read = QString::fromLatin1(line.lastRead());
        read.chop(1);
        check(reply == read, "the reply is what was read, without its last character");
        check(reply.size() < 1024, "the reply is cut at the read limit");
    } catch (const EGlobalError &e) {
        check(!e.message().isEmpty(), "a failed exchange has a message");
    }
    check(line.written().size() <= line.answerCount() + 2,
          "no more attempts than answers and two failures");
    const QByteArray expected = command.left(CommandExchange::kCommandLimit).toLatin1() + '\r';
    for (const QByteArray &written : line.written())
        check(written == expected, "every attempt writes the command, cut to its limit, and CR");
}

} // namespace zelfuzz

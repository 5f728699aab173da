#include "teach/BenchCheck.h"

#include "base/SharedState.h"
#include "teach/InstrumentCommands.h"

#include <QElapsedTimer>

namespace {

BenchCheck::Result check(InstrumentBackend &backend, InstrumentRole role, const QString &address) {
    BenchCheck::Result result;
    result.instrument = instrumentName(role);
    result.backend = backend.describe(role);
    result.address = address;
    result.query = role == InstrumentRole::DaqUnit ? QStringLiteral("*IDN?")
                                                   : InstrumentCommands::stableQuery();
    QElapsedTimer clock;
    clock.start();
    try {
        std::unique_ptr<InstrumentSession> session = backend.createSession(role);
        session->open(InstrumentCommands::resourceName(address));
        session->write(result.query);
        QString reply = session->read(InstrumentSession::DefaultReadCount);
        session->close();
        while (reply.endsWith(QLatin1Char('\n')) || reply.endsWith(QLatin1Char('\r')))
            reply.chop(1);
        result.answered = !reply.isEmpty();
        result.reply = result.answered ? reply : QStringLiteral("keine Antwort");
    } catch (const EGlobalError &) {
        throw;
    } catch (const std::exception &error) {
        result.reply = messageOf(error);
    }
    result.ms = clock.elapsed();
    return result;
}

} // namespace

QList<BenchCheck::Result> BenchCheck::run(InstrumentBackend &backend, const GpibSettings &gpib) {
    return {check(backend, InstrumentRole::DaqUnit, gpib.GPIB2),
            check(backend, InstrumentRole::PressureController, gpib.GPIB1)};
}

QString BenchCheck::text(const QList<Result> &results) {
    QStringList lines;
    for (const Result &r : results) {
        lines << r.instrument + QStringLiteral(" (") + r.backend + QStringLiteral(", GPIB ") +
                     r.address + QStringLiteral("): ") +
                     (r.answered ? QStringLiteral("antwortet")
                                 : QStringLiteral("antwortet nicht")) +
                     QStringLiteral(" nach %1 ms auf \"").arg(r.ms) + r.query +
                     QStringLiteral("\": ") + r.reply;
    }
    return lines.join(QLatin1Char('\n'));
}

bool BenchCheck::allAnswered(const QList<Result> &results) {
    for (const Result &r : results) {
        if (!r.answered)
            return false;
    }
    return true;
}

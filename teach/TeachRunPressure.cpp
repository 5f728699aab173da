#include "teach/TeachRunPressure.h"

#include "base/Errors.h"
#include "teach/InstrumentCommands.h"
#include "teach/InstrumentSession.h"
#include "teach/PressurePoints.h"
#include "teach/TeachRunContext.h"

namespace {
constexpr int kPointWaitMs = 200;
constexpr int kProgressMaximum = 3;
} // namespace

TeachRunPressure::TeachRunPressure(TeachRunContext &context) : context_(context) {}

void TeachRunPressure::run() {
    range_ = context_.rangeIndex();
    if (range_ < 0) {
        context_.refuseWithoutRange();
        return;
    }
    context_.setModemLines({false, false});
    context_.send(QStringLiteral(">MeasRange ") + QString::number(range_));
    controller_ = context_.openInstrument(InstrumentRole::PressureController);
    try {
        teachPoints();
    } catch (...) {
        ventAfterFailure(std::current_exception());
    }
    // The modem lines stay as the last point left them.
    controller_->write(InstrumentCommands::vent());
    controller_->close();
}

void TeachRunPressure::teachPoints() {
    controller_->write(InstrumentCommands::outform());
    controller_->write(InstrumentCommands::channelB());
    controller_->write(InstrumentCommands::sensorSecondary());
    context_.showMessage(
        QStringLiteral("Anschluß B des KMV700 wird verwendet. Verbindung jetzt herstellen."));
    context_.setProgress(kProgressMaximum, 0);
    int index = 0;
    while (!context_.aborted() && index < PressurePoints::IndexCount)
        index = teachPoint(index);
}

// A device must never be left under pressure: after a failure (the link, a reply, an abort
// raised inside an exchange) the controller is vented and closed before the failure goes on.
// Should venting fail as well, the first failure still comes first in the report.
void TeachRunPressure::ventAfterFailure(std::exception_ptr failure) {
    QString ventFailure;
    try {
        controller_->write(InstrumentCommands::vent());
        controller_->close();
    } catch (const std::exception &error) {
        ventFailure = messageOf(error);
    }
    if (ventFailure.isEmpty())
        std::rethrow_exception(failure);
    QString first;
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception &error) {
        first = messageOf(error);
    } catch (...) {
        first = QStringLiteral("Unknown failure");
    }
    throw EGlobalError(first +
                       QStringLiteral("\n\nDer Druckregler konnte nicht entlüftet "
                                      "werden: ") +
                       ventFailure);
}

int TeachRunPressure::teachPoint(int index) {
    const int pressure = PressurePoints::generated(index, range_);
    const QString point = pointText(index, pressure);
    context_.status(point + QStringLiteral(" Pa) wird generiert ..."));
    generate(pressure);
    if (context_.aborted())
        return index;
    context_.status(point + QStringLiteral(" Pa): Druck stabil, Messwert wird jetzt aufgenommen."));
    const QString value =
        PressurePoints::replyValue(context_.send(PressurePoints::teachCommand(index)), index);
    int next = index;
    if (value == QLatin1String("Err")) {
        context_.setLabel(PressurePoints::labelName(index), QStringLiteral("9999"));
        context_.status(point + QStringLiteral(" Pa): FEHLER!"));
    } else {
        context_.setLabel(PressurePoints::labelName(index), value);
        // The 0 Pa point is vented, not controlled: there is no stability to check again.
        if (pressure == 0 || stable()) {
            context_.status(point + QStringLiteral(" Pa) gespeichert."));
            next = pressure == 0 ? index + 2 : PressurePoints::nextIndex(index);
        } else {
            context_.status(point + QStringLiteral(" Pa) muß wiederholt werden (Druck während "
                                                   "der Messung instabil)."));
        }
    }
    context_.delay(kPointWaitMs);
    return next;
}

void TeachRunPressure::generate(int pressure) {
    if (pressure == 0) {
        context_.setModemLines({false, false});
        controller_->write(InstrumentCommands::vent());
        context_.setProgressPosition(context_.progressMaximum());
        context_.delay(VentWaitMs);
        return;
    }
    context_.setModemLines(PressurePoints::lineSide(pressure));
    controller_->write(InstrumentCommands::setPoint(pressure));
    waitUntilStable();
}

// Three "YES" in a row, polled once a second; any other reply starts the count again.
void TeachRunPressure::waitUntilStable() {
    context_.setProgressPosition(context_.progressMaximum());
    int count = 0;
    while (count < StableCount && !context_.aborted()) {
        context_.delay(PollWaitMs);
        count = stable() ? count + 1 : 0;
    }
}

bool TeachRunPressure::stable() {
    controller_->write(InstrumentCommands::stableQuery());
    return InstrumentCommands::isStable(controller_->read(InstrumentSession::DefaultReadCount));
}

QString TeachRunPressure::pointText(int index, int pressure) const {
    return QStringLiteral("int. Druck: Stützstelle ") + QString::number(index) +
           QStringLiteral(" (") + QString::number(pressure);
}

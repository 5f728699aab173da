#include "teach/TeachRunInput.h"

#include "teach/InstrumentCommands.h"
#include "teach/InstrumentSession.h"
#include "teach/TeachRunContext.h"
#include "teach/TeachRunView.h"

namespace {
constexpr int kPointWaitMs = 200;
} // namespace

TeachRunInput::TeachRunInput(TeachRunContext &context, const InputSection &section)
    : context_(context), section_(section) {}

void TeachRunInput::run() {
    context_.status(QString::fromUtf8(section_.statusText));
    context_.delay(kPointWaitMs);
    context_.setProgress(AnalogPoints::InputPointCount, 0);
    daq_ = context_.openInstrument(InstrumentRole::DaqUnit);
    // The routing holds for all points of the section.
    daq_->write(InstrumentCommands::digitalData(
        section_.multiplexerCode, context_.instrumentSetting("Agilent_IN1_2_Multiplexer")));
    for (const InputPoint &point : AnalogPoints::inputPoints(section_.quantity)) {
        point_ = &point;
        context_.status(pointText() + (current() ? QStringLiteral(" mA) wird geteacht ...")
                                                 : QStringLiteral(" V) wird geteacht ...")));
        const DaSearch::Result result =
            DaSearch::run(*this, {point.index, double(point.target), point.startMillivolts,
                                  AnalogPoints::InputStartStep, false});
        if (result.aborted)
            break;
        teach(result.da);
        context_.setProgressPosition(point.index + 1);
        context_.delay(kPointWaitMs);
    }
    // The source keeps its last value: nothing switches it off.
    daq_->close();
}

// A point the device refuses is marked "9999" and not repeated.
void TeachRunInput::teach(int sourceMillivolts) {
    const QString label = AnalogPoints::inputValueLabel(section_, *point_);
    const QString unit = current() ? QStringLiteral(" mA") : QStringLiteral(" V");
    if (context_.zelSimulation()) {
        context_.status(
            pointText() + unit +
            (current() ? QStringLiteral("): Strom ok!") : QStringLiteral("): Spannung ok!")));
        context_.setLabel(label, QString::number(sourceMillivolts));
        return;
    }
    context_.status(pointText() + unit +
                    (current()
                         ? QStringLiteral("): Strom ok, Messwert wird jetzt aufgenommen.")
                         : QStringLiteral("): Spannung ok, Messwert wird jetzt aufgenommen.")));
    const QString reply = context_.send(AnalogPoints::inputTeachCommand(section_, point_->index));
    const QString value = AnalogPoints::inputReplyValue(section_, reply, point_->index);
    if (value == QLatin1String("Err")) {
        context_.setLabel(label, QStringLiteral("9999"));
        context_.status(pointText() + unit + QStringLiteral("): FEHLER!"));
        return;
    }
    context_.setLabel(label, context_.daValuesShown() ? QString::number(sourceMillivolts) : value);
    context_.status(pointText() + unit + QStringLiteral(") gespeichert."));
}

double TeachRunInput::measureAt(int millivolts) {
    daq_->write(InstrumentCommands::sourceVoltage(
        millivolts, context_.instrumentSetting(section_.sourceSetting)));
    context_.delay(SettleMs);
    const QString channel = context_.instrumentSetting(section_.measureSetting);
    if (current()) {
        daq_->write(InstrumentCommands::measureCurrent(channel));
        return InstrumentCommands::currentMilliamps(
            daq_->read(InstrumentSession::DefaultReadCount));
    }
    daq_->write(InstrumentCommands::measureVoltage(channel));
    return InstrumentCommands::reading(daq_->read(InstrumentSession::DefaultReadCount));
}

void TeachRunInput::passMeasured(int millivolts, double measured) {
    context_.view().noteMeasured(AnalogPoints::inputValueLabel(section_, *point_), measured);
    const QString unit = current() ? QStringLiteral(" mA") : QStringLiteral(" V");
    context_.status(pointText() + unit + QStringLiteral("): DA-Wert = ") +
                    QString::number(millivolts) + QStringLiteral("; gemessen: ") +
                    context_.numberText(measured) + unit);
}

bool TeachRunInput::abortRequested() {
    return context_.aborted();
}

QString TeachRunInput::pointText() const {
    return QStringLiteral("IN-") + QString::number(section_.input) +
           QStringLiteral(": Stützstelle ") + QString::number(point_->index) +
           QStringLiteral(" (") + QString::number(point_->target);
}

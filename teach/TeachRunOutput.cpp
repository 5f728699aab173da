#include "teach/TeachRunOutput.h"

#include "teach/InstrumentCommands.h"
#include "teach/InstrumentSession.h"
#include "teach/TeachRunContext.h"
#include "teach/TeachRunView.h"

namespace {
constexpr int kPointWaitMs = 200;
} // namespace

TeachRunOutput::TeachRunOutput(TeachRunContext &context, Quantity quantity)
    : context_(context), quantity_(quantity) {}

void TeachRunOutput::run() {
    const bool current = quantity_ == Quantity::Current;
    context_.status(current ? QStringLiteral("OUT-D: Strom wird geteacht ...")
                            : QStringLiteral("OUT-D: Spannung wird geteacht ..."));
    context_.delay(kPointWaitMs);
    const std::vector<OutputPoint> &points = AnalogPoints::outputPoints(quantity_);
    context_.setProgress(int(points.size()), 0);
    daq_ = context_.openInstrument(InstrumentRole::DaqUnit);
    for (const OutputPoint &point : points) {
        point_ = &point;
        context_.status(pointText() + unitText() + QStringLiteral(") wird geteacht ..."));
        const DaSearch::Result result = DaSearch::run(
            *this, {point.index, double(point.target), point.startDa, point.startStep, true});
        if (result.aborted)
            break;
        context_.setLabel(QString::fromLatin1(point.valueLabel), QString::number(result.da));
        context_.send(AnalogPoints::outputStoreCommand(point, result.da));
        context_.status(pointText() + unitText() + QStringLiteral(") gespeichert."));
        context_.setProgressPosition(point.index + 1);
        context_.delay(kPointWaitMs);
    }
    daq_->close();
}

double TeachRunOutput::measureAt(int da) {
    context_.send(AnalogPoints::outputDaCommand(quantity_, da));
    context_.delay(SettleMs);
    if (quantity_ == Quantity::Current) {
        daq_->write(
            InstrumentCommands::measureCurrent(context_.instrumentSetting("Agilent_OUTD_Strom")));
        return InstrumentCommands::currentMilliamps(
            daq_->read(InstrumentSession::DefaultReadCount));
    }
    daq_->write(InstrumentCommands::measureVoltage(context_.instrumentSetting("Agilent_OUTD_Spg")));
    return InstrumentCommands::reading(daq_->read(InstrumentSession::DefaultReadCount));
}

void TeachRunOutput::passMeasured(int da, double measured) {
    context_.view().noteMeasured(QString::fromLatin1(point_->valueLabel), measured);
    context_.status(pointText() + unitText() + QStringLiteral("): DA-Wert = ") +
                    QString::number(da) + QStringLiteral("; gemessen: ") +
                    context_.numberText(measured) + unitText());
}

bool TeachRunOutput::abortRequested() {
    return context_.aborted();
}

QString TeachRunOutput::pointText() const {
    return QStringLiteral("OUT-D: Stützstelle ") + QString::number(point_->index) +
           QStringLiteral(" (") + QString::number(point_->target);
}

QString TeachRunOutput::unitText() const {
    return quantity_ == Quantity::Current ? QStringLiteral(" mA") : QStringLiteral(" V");
}

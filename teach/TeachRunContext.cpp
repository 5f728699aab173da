#include "teach/TeachRunContext.h"

#include "base/NumberText.h"
#include "base/SharedState.h"
#include "link/OperationRunner.h"
#include "teach/InstrumentBackend.h"
#include "teach/InstrumentCommands.h"
#include "teach/TeachRunView.h"

#include <stdexcept>
#include <utility>

TeachRunContext::TeachRunContext(OperationRunner &runner, TeachRunView &view,
                                 InstrumentBackend &instruments, const GpibSettings &gpib)
    : runner_(runner), view_(view), instruments_(instruments), gpib_(gpib) {}

bool TeachRunContext::aborted() const {
    return runner_.abortRequested();
}

void TeachRunContext::status(const QString &text) {
    runner_.setStatus(text);
}

void TeachRunContext::delay(int ms) {
    runner_.delay(ms);
}

QString TeachRunContext::send(const QString &command) {
    return runner_.send(command);
}

void TeachRunContext::setLabel(const QString &name, const QString &text) {
    view_.setLabel(name, text);
}

void TeachRunContext::setProgress(int maximum, int position) {
    view_.setProgress(maximum, position);
}

void TeachRunContext::setProgressPosition(int position) {
    view_.setProgressPosition(position);
}

int TeachRunContext::progressMaximum() const {
    return view_.progressMaximum();
}

void TeachRunContext::showMessage(const QString &text) {
    view_.showMessage(text);
}

void TeachRunContext::setModemLines(LineSide side) {
    runner_.setModemLines(side.dtr, side.rts);
}

bool TeachRunContext::checked(const char *checkBox) const {
    return view_.checked(checkBox);
}

int TeachRunContext::rangeIndex() const {
    return view_.rangeIndex();
}

bool TeachRunContext::zelSimulation() const {
    return view_.zelSimulation();
}

bool TeachRunContext::daValuesShown() const {
    return view_.daValuesShown();
}

QString TeachRunContext::instrumentSetting(const char *key) const {
    const GpibSettings &g = gpib_;
    const QLatin1String name(key);
    const std::pair<const char *, const QString *> settings[] = {
        {"GPIB1", &g.GPIB1},
        {"GPIB2", &g.GPIB2},
        {"Agilent_OUTD_Spg", &g.Agilent_OUTD_Spg},
        {"Agilent_OUTD_Strom", &g.Agilent_OUTD_Strom},
        {"Agilent_IN1_2_Multiplexer", &g.Agilent_IN1_2_Multiplexer},
        {"Agilent_IN1_2_Spg", &g.Agilent_IN1_2_Spg},
        {"Agilent_IN1_2_Spgmessung", &g.Agilent_IN1_2_Spgmessung},
        {"Agilent_IN1_2_Strom", &g.Agilent_IN1_2_Strom},
        {"Agilent_IN1_2_Strommessung", &g.Agilent_IN1_2_Strommessung},
    };
    for (const auto &setting : settings) {
        if (name == QLatin1String(setting.first))
            return *setting.second;
    }
    throw std::logic_error(std::string("no instrument setting ") + key);
}

QString TeachRunContext::numberText(double value) const {
    return NumberText::fromFloat(value, runner_.decimalSeparator());
}

std::unique_ptr<InstrumentSession> TeachRunContext::openInstrument(InstrumentRole role) {
    const QString address =
        instrumentSetting(role == InstrumentRole::PressureController ? "GPIB1" : "GPIB2");
    std::unique_ptr<InstrumentSession> session = instruments_.createSession(role);
    session->open(InstrumentCommands::resourceName(address));
    return session;
}

void TeachRunContext::refuseWithoutRange() {
    showMessage(QStringLiteral("Es wurde kein Druckmeßbereich gewählt. Das Teachen wird "
                               "abgebrochen!"));
    view_.requestStop();
}

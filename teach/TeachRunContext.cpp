#include "teach/TeachRunContext.h"

#include "app/NumberText.h"
#include "app/TformMain.h"
#include "teach/InstrumentBackend.h"
#include "teach/InstrumentCommands.h"
#include "teach/TeachController.h"
#include "teach/TformOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <stdexcept>
#include <utility>

TeachRunContext::TeachRunContext(TformMain &window, InstrumentBackend &instruments)
    : window_(window), instruments_(instruments) {}

bool TeachRunContext::aborted() const {
    return window_.state.abortFlag;
}

void TeachRunContext::status(const QString &text) {
    window_.setStatus(text);
}

void TeachRunContext::delay(int ms) {
    window_.Delay(ms);
}

QString TeachRunContext::send(const QString &command) {
    return window_.SendToCom(command);
}

void TeachRunContext::setLabel(const QString &name, const QString &text) {
    window_.ctl<QLabel>(name)->setText(text);
}

void TeachRunContext::setProgress(int maximum, int position) {
    window_.Progress->setMaximum(maximum);
    window_.Progress->setValue(position);
}

void TeachRunContext::setProgressPosition(int position) {
    window_.Progress->setValue(position);
}

int TeachRunContext::progressMaximum() const {
    return window_.Progress->maximum();
}

void TeachRunContext::showMessage(const QString &text) {
    window_.prompts().showMessage(&window_, text);
}

void TeachRunContext::setModemLines(LineSide side) {
    window_.ComPort().setDTR(side.dtr);
    window_.ComPort().setRTS(side.rts);
}

bool TeachRunContext::checked(const char *checkBox) const {
    return window_.ctl<QCheckBox>(QString::fromLatin1(checkBox))->isChecked();
}

int TeachRunContext::rangeIndex() const {
    return window_.ctl<QComboBox>(QStringLiteral("MeasRange1"))->currentIndex();
}

bool TeachRunContext::zelSimulation() const {
    return window_.formOptions()->zelSimulation();
}

bool TeachRunContext::daValuesShown() const {
    return window_.formOptions()->daWerteStattZelWerte();
}

QString TeachRunContext::instrumentSetting(const char *key) const {
    const GpibSettings &g = window_.state.gpib;
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
    return NumberText::fromFloat(value, window_.state.decimalSeparator);
}

std::unique_ptr<InstrumentSession> TeachRunContext::openInstrument(const QString &address) {
    std::unique_ptr<InstrumentSession> session = instruments_.createSession();
    session->open(InstrumentCommands::resourceName(address));
    return session;
}

void TeachRunContext::refuseWithoutRange() {
    showMessage(QStringLiteral("Es wurde kein Druckmeßbereich gewählt. Das Teachen wird "
                               "abgebrochen!"));
    window_.teach().requestStop();
}

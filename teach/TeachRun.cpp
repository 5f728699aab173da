#include "teach/TeachRun.h"

#include "link/OperationRunner.h"
#include "teach/AnalogPoints.h"
#include "teach/PressurePoints.h"
#include "teach/TeachRunInput.h"
#include "teach/TeachRunOutput.h"
#include "teach/TeachRunPressure.h"
#include "teach/TeachRunView.h"

namespace {

constexpr int kStepWaitMs = 200;

// ">MTeach" toggles the mode; its reply names the mode now in force at the eighth character.
bool modeReached(const QString &reply, bool teachMode) {
    return reply.size() >= 8 && reply.at(7) == QLatin1Char(teachMode ? '1' : '0');
}

} // namespace

TeachRun::TeachRun(OperationRunner &runner, TeachRunView &view, InstrumentBackend &instruments,
                   const GpibSettings &gpib)
    : context_(runner, view, instruments, gpib) {}

std::vector<TeachRun::Group> TeachRun::groups() {
    std::vector<Group> result;
    Group pressure{"CheckBox_intDruck", {}};
    for (int index : PressurePoints::taughtIndices())
        pressure.labels << PressurePoints::labelName(index);
    result.push_back(pressure);
    const std::pair<const char *, Quantity> outputs[] = {
        {"CheckBox_OUT_Strom", Quantity::Current}, {"CheckBox_OUT_Spannung", Quantity::Voltage}};
    for (const auto &output : outputs) {
        Group group{output.first, {}};
        for (const OutputPoint &point : AnalogPoints::outputPoints(output.second))
            group.labels << QString::fromLatin1(point.valueLabel);
        result.push_back(group);
    }
    for (const InputSection &section : AnalogPoints::inputSections()) {
        Group group{section.checkBox, {}};
        for (const InputPoint &point : AnalogPoints::inputPoints(section.quantity))
            group.labels << AnalogPoints::inputValueLabel(section, point);
        result.push_back(group);
    }
    return result;
}

void TeachRun::run() {
    lockWindow();
    prepareGroupLabels();
    if (anyGroupChecked()) {
        context_.runner().openPort();
        restoreFactoryState();
        switchMode(true);
        teachGroups();
        storeTeachValues();
        switchMode(false);
        context_.runner().closePort();
    }
    finish();
}

void TeachRun::lockWindow() {
    context_.runner().clearAbort();
    context_.runner().beginAction(DeviceAction::TeachRun);
    context_.view().clearLog();
}

// A group that is taught starts from "0"; the labels of a group left out are disabled for good.
void TeachRun::prepareGroupLabels() {
    for (const Group &group : groups()) {
        const bool taught = context_.checked(group.checkBox);
        for (const QString &label : group.labels) {
            if (taught)
                context_.setLabel(label, QStringLiteral("0"));
            else
                context_.view().disableLabel(label);
        }
    }
}

bool TeachRun::anyGroupChecked() const {
    for (const Group &group : groups()) {
        if (context_.checked(group.checkBox))
            return true;
    }
    return false;
}

void TeachRun::restoreFactoryState() {
    if (!context_.checked("CheckBox_ALZ_vor_Teachen"))
        return;
    const int range = context_.rangeIndex();
    if (range < 0) {
        context_.refuseWithoutRange();
        return;
    }
    context_.send(QStringLiteral(">MeasRange ") + QString::number(range));
    context_.status(context_.runner().message(CatalogueEntry::ResettingZel));
    context_.send(QStringLiteral("RecallWE"));
}

void TeachRun::switchMode(bool teachMode) {
    context_.status(teachMode ? QStringLiteral("Gerät in Teachmodus versetzen ...")
                              : QStringLiteral("Gerät in Normalmodus versetzen ..."));
    context_.delay(kStepWaitMs);
    if (!context_.zelSimulation()) {
        QString reply;
        do
            reply = context_.send(QStringLiteral(">MTeach"));
        while (!modeReached(reply, teachMode));
    }
    context_.status(teachMode ? QStringLiteral("Gerät in Teachmodus versetzt.")
                              : QStringLiteral("Gerät in Normalmodus versetzt."));
    context_.delay(kStepWaitMs);
}

// The pressure section starts even after an abort; every later one only without it.
void TeachRun::teachGroups() {
    if (context_.checked("CheckBox_intDruck"))
        TeachRunPressure(context_).run();
    for (Quantity quantity : {Quantity::Current, Quantity::Voltage}) {
        const char *box =
            quantity == Quantity::Current ? "CheckBox_OUT_Strom" : "CheckBox_OUT_Spannung";
        if (context_.checked(box) && !context_.aborted())
            TeachRunOutput(context_, quantity).run();
    }
    for (const InputSection &section : AnalogPoints::inputSections()) {
        if (context_.checked(section.checkBox) && !context_.aborted())
            TeachRunInput(context_, section).run();
    }
}

void TeachRun::storeTeachValues() {
    context_.setProgressPosition(0);
    context_.status(QStringLiteral("Teachdaten im Gerät speichern ..."));
    if (!context_.zelSimulation() &&
        context_.send(QStringLiteral("SavePar")) != QLatin1String("OK"))
        context_.showMessage(QStringLiteral("Speichern war nicht erfolgreich."));
    context_.delay(kStepWaitMs);
}

void TeachRun::finish() {
    context_.status(context_.aborted() ? QStringLiteral("Abbruch durch Benutzer.")
                                       : QStringLiteral("Teachen erfolgreich beendet."));
    context_.runner().endAction();
}

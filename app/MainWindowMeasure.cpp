// Handlers of the "Messwerte" page: measurement mode, charts, log, zeroing and reset.
#include "app/MeasurementController.h"
#include "app/TformMain.h"
#include "measure/EventLog.h"
#include "measure/ZeroResetAction.h"
#include "measure/ui/ChartConfiguration.h"

#include <QListWidget>

void TformMain::ButtonMessungStartenClick() {
    measurement().startOrStop();
}

void TformMain::TimerMessungEvent() {
    measurement().tick();
}

void TformMain::MessintervallChange() {
    measurement().intervalChanged();
}

void TformMain::DiagrammKonfiguration() {
    ChartConfiguration::apply(*this, *settings_, state);
}

void TformMain::ButtonClearLogClick() {
    ctl<QListWidget>(QStringLiteral("LLog"))->clear();
}

void TformMain::ButtonSaveLogClick() {
    const QString path =
        prompts().saveFileName(this, executableDir(), QStringLiteral("Log.csv"),
                               QStringLiteral("Excel Comma Separated Values (*.csv)|*.csv"), true);
    if (path.isEmpty())
        return;
    const QListWidget *log = ctl<QListWidget>(QStringLiteral("LLog"));
    QStringList lines;
    for (int i = 0; i < log->count(); ++i)
        lines.append(log->item(i)->text());
    EventLog::save(path, lines);
}

void TformMain::ButtonNullierenClick() {
    ZeroResetAction::run(*runner_, ZeroResetAction::kZeroing);
}

void TformMain::ButtonResetClick() {
    ZeroResetAction::run(*runner_, ZeroResetAction::kReset);
}

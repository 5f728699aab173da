#pragma once

#include "app/TformMain.h"
#include "params/ParamTable.h"
#include "tests/support/WindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QtTest>

// Shared by the transfer tests: the expected command lists and the state of an idle window.
namespace paramtest {

inline QStringList allQueries() {
    QStringList queries;
    for (const ParamDef &row : ParamTable::rows())
        queries << QStringLiteral("?") + QString::fromLatin1(row.name);
    return queries;
}

inline void setDeviceValue(WindowFixture &fx, const char *name, double value) {
    fx.device().withModel([&](sim::DeviceModel &m) { m.setSetting(name, value); });
}

inline double deviceValue(WindowFixture &fx, const char *name, bool saved = false) {
    double value = 0;
    fx.device().withModel(
        [&](sim::DeviceModel &m) { value = saved ? m.savedSetting(name) : m.setting(name); });
    return value;
}

// After any transfer, finished or failed: the lock is released, the bar empty, the port closed.
inline bool windowIsIdle(WindowFixture &fx, QString *why) {
    TformMain &w = fx.window();
    const QStringList problems = [&] {
        QStringList p;
        for (QPushButton *b : {w.ButtonLaden, w.ButtonSenden, w.ButtonWE100Pa, w.ButtonWE250Pa})
            if (!b->isEnabled())
                p << b->objectName() + " disabled";
        if (w.ButtonAbortConfig->isEnabled())
            p << "ButtonAbortConfig enabled";
        for (QWidget *s :
             {w.SkalierungswerteSheet, w.WarnwerteSheet, w.EinstellungenSheet, w.StatusSheet})
            if (!s->isEnabled())
                p << s->objectName() + " disabled";
        if (w.Progress->value() != 0)
            p << "progress " + QString::number(w.Progress->value());
        if (w.runner().abortRequested())
            p << "abort flag set";
        if (w.state.transferFailureMarker != 0)
            p << "marker " + QString::number(w.state.transferFailureMarker);
        if (w.ComPort().connected())
            p << "port open";
        return p;
    }();
    *why = problems.join(", ");
    return problems.isEmpty();
}

} // namespace paramtest

#define ZEL_VERIFY_IDLE(fx)                                                                        \
    do {                                                                                           \
        QString why_;                                                                              \
        QVERIFY2(paramtest::windowIsIdle(fx, &why_), qPrintable(why_));                            \
    } while (false)

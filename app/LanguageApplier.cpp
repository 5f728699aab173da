#include "app/LanguageApplier.h"

#include "app/TformMain.h"
#include "i18n/MessageCatalogue.h"
#include "i18n/SettingTexts.h"
#include "params/SettingsModel.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

enum : int {
    kMsgHumidityUnit = 10,
    kMsgStartMeasure = 34,
    kMsgStopMeasure = 43,
    kMsgPressureLetter = 64,
    kMsgHumidityLetter = 65,
    kMsgSeconds = 98,
};

void setCaption(QObject *control, const QString &text) {
    if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(text);
    else if (auto *action = qobject_cast<QAction *>(control))
        action->setText(text);
    else if (auto *menu = qobject_cast<QMenu *>(control))
        menu->setTitle(text);
}

// Replaces the texts of the given items, keeping the selected index.
void replaceItems(QComboBox *combo, const QStringList &items) {
    const int selected = combo->currentIndex();
    for (int i = 0; i < items.size() && i < combo->count(); ++i)
        combo->setItemText(i, items.at(i));
    combo->setCurrentIndex(selected);
}

} // namespace

void LanguageApplier::apply(TformMain &window) {
    const QList<QAction *> languages = {window.SpracheD, window.SpracheEng, window.SpracheF};
    const int language =
        (window.state.language >= 0 && window.state.language <= 2) ? window.state.language : 0;
    languages[language]->setChecked(true);
    applyItems(window);
    applyCaptions(window);
    applyStateCaptions(window);
    const QList<QAction *> menus = window.menuBar()->actions();
    assignMnemonics(menus);
    for (QAction *menu : menus) {
        if (menu->menu())
            assignMnemonics(menu->menu()->actions());
    }
}

// Alt + a letter opens a menu or picks an item: each entry gets the first letter of its text
// that no entry before it in the same menu uses, in every language anew.
void LanguageApplier::assignMnemonics(const QList<QAction *> &actions) {
    QString used;
    for (QAction *action : actions) {
        QString text = action->text().remove(QLatin1Char('&'));
        for (int i = 0; i < text.size(); ++i) {
            const QChar key = text[i].toLower();
            if (text[i].isLetterOrNumber() && !used.contains(key)) {
                used += key;
                text.insert(i, QLatin1Char('&'));
                break;
            }
        }
        action->setText(text);
    }
}

void LanguageApplier::applyItems(TformMain &window) {
    const int language = window.state.language;
    const int unitListMode = window.settings().unitListMode();
    for (const ParamDef &row : ParamTable::rows()) {
        if (row.kind != ParamKind::Choice)
            continue;
        replaceItems(window.ctl<QComboBox>(QString::fromLatin1(row.control)),
                     SettingTexts::items(row, unitListMode, language));
    }
}

void LanguageApplier::applyCaptions(TformMain &window) {
    window.setApplicationTitle(window.msg(74));
    setCaption(window.MEinstellungen, window.msg(49));
    setCaption(window.LoadConf, window.msg(50));
    setCaption(window.SaveConf, window.msg(51));
    setCaption(window.Inbetriebnahmeprotokoll, window.msg(MessageCatalogue::kReportMenu));
    setCaption(window.MSprache, window.msg(16));
    setCaption(window.SpracheD, window.msg(17));
    setCaption(window.SpracheEng, window.msg(18));
    setCaption(window.SpracheF, window.msg(19));
    window.PageControl->setTabText(1, window.msg(0));
    window.PageControl->setTabText(2, window.msg(1));
    window.PageControl->setTabText(3, window.msg(2));
    window.PageControl->setTabText(4, window.msg(52));
    for (const QString &control : SettingTexts::captionedControls())
        setCaption(window.ctl<QObject>(control),
                   SettingTexts::controlCaption(control, window.state.language));
    const QString pressure = window.msg(kMsgPressureLetter);
    setCaption(window.ctl<QObject>(QStringLiteral("max_P")), QStringLiteral("max_") + pressure);
    setCaption(window.ctl<QObject>(QStringLiteral("min_P")), QStringLiteral("min_") + pressure);
}

void LanguageApplier::applyStateCaptions(TformMain &window) {
    auto *connection = window.ctl<QPushButton>(QStringLiteral("ButtonConnection"));
    connection->setText(
        window.msg(window.measurementModeRuns() ? kMsgStopMeasure : kMsgStartMeasure));

    const int mode = window.ctl<QComboBox>(QStringLiteral("ExtPress"))->currentIndex();
    const QString pressure = window.msg(kMsgPressureLetter);
    if (in1MeasuresPressure(mode)) {
        setCaption(window.ctl<QObject>(QStringLiteral("max_T")), QStringLiteral("max_") + pressure);
        setCaption(window.ctl<QObject>(QStringLiteral("min_T")), QStringLiteral("min_") + pressure);
        setCaption(window.ctl<QObject>(QStringLiteral("LabelTemperatur")), window.msg(102) + ":");
    } else {
        setCaption(window.ctl<QObject>(QStringLiteral("max_T")), QStringLiteral("max_T"));
        setCaption(window.ctl<QObject>(QStringLiteral("min_T")), QStringLiteral("min_T"));
        setCaption(window.ctl<QObject>(QStringLiteral("LabelTemperatur")), window.msg(100) + ":");
    }
    const QString letter = in2MeasuresPressure(mode) ? pressure : window.msg(kMsgHumidityLetter);
    setCaption(window.ctl<QObject>(QStringLiteral("max_F")), QStringLiteral("max_") + letter);
    setCaption(window.ctl<QObject>(QStringLiteral("min_F")), QStringLiteral("min_") + letter);
    setCaption(window.ctl<QObject>(QStringLiteral("LabelFeuchte")),
               window.msg(in2MeasuresPressure(mode) ? 103 : 101) + ":");

    auto *yAxisF = window.ctl<QLabel>(QStringLiteral("LabelyAchse_F"));
    if (MessageCatalogue::matchesAnyLanguage(kMsgHumidityUnit, yAxisF->text()))
        yAxisF->setText(window.msg(kMsgHumidityUnit));

    const int interval = window.ctl<QSpinBox>(QStringLiteral("Messintervall"))->value();
    const QString xAxis =
        QString::number(interval * 30) + QLatin1Char(' ') + window.msg(kMsgSeconds);
    for (const char *name : {"LabelxAchse_P", "LabelxAchse_T", "LabelxAchse_F"})
        window.ctl<QLabel>(QString::fromLatin1(name))->setText(xAxis);
}

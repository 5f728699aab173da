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
    window.setApplicationTitle(window.msg(CatalogueEntry::StartUpTool));
    setCaption(window.MEinstellungen, window.msg(CatalogueEntry::Settings));
    setCaption(window.LoadConf, window.msg(CatalogueEntry::Open));
    setCaption(window.SaveConf, window.msg(CatalogueEntry::SaveAs));
    setCaption(window.Inbetriebnahmeprotokoll, window.msg(CatalogueEntry::ReportMenu));
    setCaption(window.MSprache, window.msg(CatalogueEntry::Language));
    setCaption(window.SpracheD, window.msg(CatalogueEntry::German));
    setCaption(window.SpracheEng, window.msg(CatalogueEntry::English));
    setCaption(window.SpracheF, window.msg(CatalogueEntry::French));
    window.PageControl->setTabText(1, window.msg(CatalogueEntry::ScalingValues));
    window.PageControl->setTabText(2, window.msg(CatalogueEntry::WarningValues));
    window.PageControl->setTabText(3, window.msg(CatalogueEntry::OtherSettings));
    window.PageControl->setTabText(4, window.msg(CatalogueEntry::MeasuringValues));
    for (const QString &control : SettingTexts::captionedControls())
        setCaption(window.ctl<QObject>(control),
                   SettingTexts::controlCaption(control, window.state.language));
    const QString pressure = window.msg(CatalogueEntry::PressureLetter);
    setCaption(window.ctl<QObject>(QStringLiteral("max_P")), QStringLiteral("max_") + pressure);
    setCaption(window.ctl<QObject>(QStringLiteral("min_P")), QStringLiteral("min_") + pressure);
}

void LanguageApplier::applyStateCaptions(TformMain &window) {
    auto *connection = window.ctl<QPushButton>(QStringLiteral("ButtonConnection"));
    connection->setText(window.msg(window.measurementModeRuns() ? CatalogueEntry::StopMeasure
                                                                : CatalogueEntry::StartMeasure));

    const int mode = window.ctl<QComboBox>(QStringLiteral("ExtPress"))->currentIndex();
    const QString pressure = window.msg(CatalogueEntry::PressureLetter);
    if (in1MeasuresPressure(mode)) {
        setCaption(window.ctl<QObject>(QStringLiteral("max_T")), QStringLiteral("max_") + pressure);
        setCaption(window.ctl<QObject>(QStringLiteral("min_T")), QStringLiteral("min_") + pressure);
        setCaption(window.ctl<QObject>(QStringLiteral("LabelTemperatur")),
                   window.msg(CatalogueEntry::PressureAtIn1) + ":");
    } else {
        setCaption(window.ctl<QObject>(QStringLiteral("max_T")), QStringLiteral("max_T"));
        setCaption(window.ctl<QObject>(QStringLiteral("min_T")), QStringLiteral("min_T"));
        setCaption(window.ctl<QObject>(QStringLiteral("LabelTemperatur")),
                   window.msg(CatalogueEntry::Temperature) + ":");
    }
    const QString letter =
        in2MeasuresPressure(mode) ? pressure : window.msg(CatalogueEntry::HumidityLetter);
    setCaption(window.ctl<QObject>(QStringLiteral("max_F")), QStringLiteral("max_") + letter);
    setCaption(window.ctl<QObject>(QStringLiteral("min_F")), QStringLiteral("min_") + letter);
    setCaption(window.ctl<QObject>(QStringLiteral("LabelFeuchte")),
               window.msg(in2MeasuresPressure(mode) ? CatalogueEntry::PressureAtIn2
                                                    : CatalogueEntry::Humidity) +
                   ":");

    auto *yAxisF = window.ctl<QLabel>(QStringLiteral("LabelyAchse_F"));
    if (MessageCatalogue::matchesAnyLanguage(CatalogueEntry::HumidityUnit, yAxisF->text()))
        yAxisF->setText(window.msg(CatalogueEntry::HumidityUnit));

    const int interval = window.ctl<QSpinBox>(QStringLiteral("Messintervall"))->value();
    const QString xAxis =
        QString::number(interval * 30) + QLatin1Char(' ') + window.msg(CatalogueEntry::SecondsUnit);
    for (const char *name : {"LabelxAchse_P", "LabelxAchse_T", "LabelxAchse_F"})
        window.ctl<QLabel>(QString::fromLatin1(name))->setText(xAxis);
}

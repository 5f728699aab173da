#include "i18n/LanguageApplier.h"

#include "app/TformMain.h"
#include "i18n/MessageCatalogue.h"

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
    kMsgOff = 21,
    kMsgOn = 22,
    kMsgStartMeasure = 34,
    kMsgStopMeasure = 43,
    kMsgPressureLetter = 64,
    kMsgHumidityLetter = 65,
    kMsgSeconds = 98,
};

struct Caption {
    const char *control;
    int entry;
    const char *suffix;
};

// Controls whose caption is a catalogue entry, optionally followed by a fixed suffix.
const Caption kCaptions[] = {
    {"GroupBoxScalP", 3, ""},
    {"GroupBoxScalIN1T", 4, ""},
    {"GroupBoxScalIN1P", 5, ""},
    {"GroupBoxScalIN2H", 6, ""},
    {"GroupBoxScalIN2P", 7, ""},
    {"GroupBoxWarnP", 11, ""},
    {"GroupBoxWarnIN1T", 12, ""},
    {"GroupBoxWarnIN1P", 13, ""},
    {"GroupBoxWarnIN2H", 14, ""},
    {"GroupBoxWarnIN2P", 15, ""},
    {"LabelScalPdown", 8, " [Pa]:"},
    {"LabelScalIN1Pdown", 8, " [Pa]:"},
    {"LabelScalIN2Pdown", 8, " [Pa]:"},
    {"LabelWarnPdown", 8, " [Pa]:"},
    {"LabelWarnIN1Pdown", 8, " [Pa]:"},
    {"LabelWarnIN2Pdown", 8, " [Pa]:"},
    {"LabelScalPup", 9, " [Pa]:"},
    {"LabelScalIN1Pup", 9, " [Pa]:"},
    {"LabelScalIN2Pup", 9, " [Pa]:"},
    {"LabelWarnPup", 9, " [Pa]:"},
    {"LabelWarnIN1Pup", 9, " [Pa]:"},
    {"LabelWarnIN2Pup", 9, " [Pa]:"},
    {"LabelWarnPHyst", 25, " [Pa]:"},
    {"LabelWarnIN1PHyst", 25, " [Pa]:"},
    {"LabelWarnIN2PHyst", 25, " [Pa]:"},
    {"LabelScalIN1Tdown", 8, " [°C]:"},
    {"LabelWarnIN1Tdown", 8, " [°C]:"},
    {"LabelScalIN1Tup", 9, " [°C]:"},
    {"LabelWarnIN1Tup", 9, " [°C]:"},
    {"LabelWarnIN1THyst", 25, " [°C]:"},
    {"GroupBoxFilter", 27, ""},
    {"GroupBoxWarnton", 20, ""},
    {"LabelSoundTime", 23, ":"},
    {"GroupBoxExterneKonfiguration", 26, ""},
    {"GroupBoxAnzeige", 24, ""},
    {"LabelUnitP", 75, ":"},
    {"LabelUnitIN1", 77, ":"},
    {"LabelUnitIN2", 78, ":"},
    {"GroupBoxSignale", 28, ""},
    {"LabelSignalP", 79, ":"},
    {"LabelSignalIN1", 77, ":"},
    {"LabelSignalIN2", 78, ":"},
    {"GroupBoxRelais", 80, ""},
    {"LabelRelAssign", 81, ":"},
    {"LabelRelTime1", 82, ":"},
    {"LabelRelTime2", 83, ":"},
    {"LabelRelAck", 84, ":"},
    {"GroupBoxNachkomma", 85, ""},
    {"LabelDecPlP", 75, ":"},
    {"LabelDecPlIN1T", 86, ":"},
    {"LabelDecPlIN1P", 87, ":"},
    {"LabelDecPlIN2H", 88, ":"},
    {"LabelDecPlIN2P", 89, ":"},
    {"GroupBoxSonstiges", 90, ""},
    {"LabelLang", 16, ":"},
    {"LabelMeasRange2", 91, ":"},
    {"LabelPassword", 29, ":"},
    {"LabelDeviceAdr", 92, ":"},
    {"ButtonLaden", 93, ""},
    {"ButtonSenden", 96, ""},
    {"ButtonWE100Pa", 94, ""},
    {"ButtonWE250Pa", 95, ""},
    {"ButtonAbortConfig", 97, ""},
    {"ButtonBeenden", 99, ""},
    {"ButtonNullieren", 55, ""},
    {"ButtonReset", 30, ""},
    {"ButtonClearLog", 56, ""},
    {"ButtonSaveLog", 51, ""},
    {"GroupBox_ZEL_kalibrieren", 106, ""},
    {"ButtonCalibPlus", 107, ""},
    {"ButtonCalibMinus", 108, ""},
    {"ButtonCalibCancel", 124, ""},
    {"LabelMessintervall", 54, ":"},
    {"LabelIstwerte", 53, ":"},
    {"LabelIntDruck", 75, ":"},
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

QString labelCaption(TformMain &window, int entry, const char *suffix = "") {
    return window.msg(entry) + QString::fromUtf8(suffix);
}

// Replaces the texts of the given items, keeping the selected index.
void replaceItems(QComboBox *combo, const QList<QPair<int, QString>> &items) {
    const int selected = combo->currentIndex();
    for (const auto &item : items) {
        if (item.first < combo->count())
            combo->setItemText(item.first, item.second);
    }
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
    const QString off = window.msg(kMsgOff);
    const QString on = window.msg(kMsgOn);
    for (const char *name :
         {"Sound", "RelAck", "DecPlP", "DecPlIN1T", "DecPlIN1P", "DecPlIN2H", "DecPlIN2P"})
        replaceItems(window.ctl<QComboBox>(QString::fromLatin1(name)), {{0, off}, {1, on}});
    replaceItems(
        window.ctl<QComboBox>(QStringLiteral("ExtPress")),
        {{0, window.msg(60)}, {1, window.msg(61)}, {2, window.msg(62)}, {3, window.msg(63)}});
    QList<QPair<int, QString>> relays;
    for (int i = 0; i < 8; ++i)
        relays.append({i, window.msg(66 + i)});
    replaceItems(window.ctl<QComboBox>(QStringLiteral("RelAssign")), relays);
    replaceItems(window.ctl<QComboBox>(QStringLiteral("Lang")),
                 {{0, window.msg(17)}, {1, window.msg(18)}});
    replaceItems(window.ctl<QComboBox>(QStringLiteral("UnitP")), {{3, off}});

    const int mode = window.ctl<QComboBox>(QStringLiteral("ExtPress"))->currentIndex();
    auto *unitIn1 = window.ctl<QComboBox>(QStringLiteral("UnitIN1"));
    replaceItems(unitIn1, {{in1MeasuresPressure(mode) ? 3 : 1, off}});
    auto *unitIn2 = window.ctl<QComboBox>(QStringLiteral("UnitIN2"));
    if (in2MeasuresPressure(mode))
        replaceItems(unitIn2, {{3, off}});
    else
        replaceItems(unitIn2, {{0, window.msg(kMsgHumidityUnit)}, {1, off}});
}

void LanguageApplier::applyCaptions(TformMain &window) {
    window.setApplicationTitle(window.msg(74));
    setCaption(window.MEinstellungen, window.msg(49));
    setCaption(window.LoadConf, window.msg(50));
    setCaption(window.SaveConf, window.msg(51));
    setCaption(window.MSprache, window.msg(16));
    setCaption(window.SpracheD, window.msg(17));
    setCaption(window.SpracheEng, window.msg(18));
    setCaption(window.SpracheF, window.msg(19));
    window.PageControl->setTabText(1, window.msg(0));
    window.PageControl->setTabText(2, window.msg(1));
    window.PageControl->setTabText(3, window.msg(2));
    window.PageControl->setTabText(4, window.msg(52));
    for (const Caption &caption : kCaptions)
        setCaption(window.ctl<QObject>(QString::fromLatin1(caption.control)),
                   labelCaption(window, caption.entry, caption.suffix));
    const QString humidity =
        QStringLiteral(" [") + window.msg(kMsgHumidityUnit) + QStringLiteral("]:");
    for (const char *name : {"LabelScalIN2Hdown", "LabelWarnIN2Hdown"})
        setCaption(window.ctl<QObject>(QString::fromLatin1(name)), window.msg(8) + humidity);
    for (const char *name : {"LabelScalIN2Hup", "LabelWarnIN2Hup"})
        setCaption(window.ctl<QObject>(QString::fromLatin1(name)), window.msg(9) + humidity);
    setCaption(window.ctl<QObject>(QStringLiteral("LabelWarnIN2HHyst")), window.msg(25) + humidity);
    const QString msek = window.msg(76) + QStringLiteral(":");
    setCaption(window.ctl<QObject>(QStringLiteral("LabelFilterP")), window.msg(75) + msek);
    setCaption(window.ctl<QObject>(QStringLiteral("LabelFilterIN1")), window.msg(77) + msek);
    setCaption(window.ctl<QObject>(QStringLiteral("LabelFilterIN2")), window.msg(78) + msek);
    const QString pressure = window.msg(kMsgPressureLetter);
    setCaption(window.ctl<QObject>(QStringLiteral("max_P")), QStringLiteral("max_") + pressure);
    setCaption(window.ctl<QObject>(QStringLiteral("min_P")), QStringLiteral("min_") + pressure);
}

void LanguageApplier::applyStateCaptions(TformMain &window) {
    auto *connection = window.ctl<QPushButton>(QStringLiteral("ButtonConnection"));
    const bool running = MessageCatalogue::matchesAnyLanguage(kMsgStopMeasure, connection->text());
    connection->setText(window.msg(running ? kMsgStopMeasure : kMsgStartMeasure));

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

void LanguageApplier::rebuildInputUnits(TformMain &window, int input, int extPressMode) {
    const bool pressure =
        input == 1 ? in1MeasuresPressure(extPressMode) : in2MeasuresPressure(extPressMode);
    auto *combo =
        window.ctl<QComboBox>(input == 1 ? QStringLiteral("UnitIN1") : QStringLiteral("UnitIN2"));
    combo->clear();
    if (pressure)
        combo->addItems({QStringLiteral("Pa"), QStringLiteral("hPa"), QStringLiteral("mbar")});
    else
        combo->addItem(input == 1 ? QStringLiteral("°C") : window.msg(kMsgHumidityUnit));
    combo->addItem(window.msg(kMsgOff));
    combo->setCurrentIndex(-1);
}

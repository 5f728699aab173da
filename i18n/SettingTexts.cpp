#include "i18n/SettingTexts.h"

#include "i18n/MessageCatalogue.h"
#include "params/ParamCodec.h"

namespace {

enum : int {
    kMsgHumidityUnit = 10,
    kMsgOff = 21,
    kMsgOn = 22,
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

bool isOffOnList(QLatin1String name) {
    for (const char *list :
         {"Sound", "RelAck", "DecPlP", "DecPlIN1T", "DecPlIN1P", "DecPlIN2H", "DecPlIN2P"}) {
        if (name == QLatin1String(list))
            return true;
    }
    return false;
}

QString text(int entry, int language) {
    return MessageCatalogue::text(entry, language);
}

// Captions built from more than one entry.
QString composedCaption(const QString &control, int language) {
    const QString humidity =
        QStringLiteral(" [") + text(kMsgHumidityUnit, language) + QStringLiteral("]:");
    if (control == QLatin1String("LabelScalIN2Hdown") ||
        control == QLatin1String("LabelWarnIN2Hdown"))
        return text(8, language) + humidity;
    if (control == QLatin1String("LabelScalIN2Hup") || control == QLatin1String("LabelWarnIN2Hup"))
        return text(9, language) + humidity;
    if (control == QLatin1String("LabelWarnIN2HHyst"))
        return text(25, language) + humidity;
    const QString msek = text(76, language) + QStringLiteral(":");
    if (control == QLatin1String("LabelFilterP"))
        return text(75, language) + msek;
    if (control == QLatin1String("LabelFilterIN1"))
        return text(77, language) + msek;
    if (control == QLatin1String("LabelFilterIN2"))
        return text(78, language) + msek;
    return QString();
}

const char *const kComposed[] = {"LabelScalIN2Hdown", "LabelWarnIN2Hdown", "LabelScalIN2Hup",
                                 "LabelWarnIN2Hup",   "LabelWarnIN2HHyst", "LabelFilterP",
                                 "LabelFilterIN1",    "LabelFilterIN2"};

} // namespace

std::vector<QString> SettingTexts::captionedControls() {
    std::vector<QString> names;
    for (const Caption &caption : kCaptions)
        names.push_back(QString::fromLatin1(caption.control));
    for (const char *name : kComposed)
        names.push_back(QString::fromLatin1(name));
    return names;
}

QString SettingTexts::controlCaption(const QString &control, int language) {
    for (const Caption &caption : kCaptions) {
        if (control == QLatin1String(caption.control))
            return text(caption.entry, language) + QString::fromUtf8(caption.suffix);
    }
    return composedCaption(control, language);
}

QString SettingTexts::settingCaption(const ParamDef &row, int language) {
    QString group = controlCaption(QString::fromLatin1(row.groupBox), language);
    if (group.isEmpty())
        group = ParamTable::groupBoxCaption(QString::fromLatin1(row.groupBox));
    QString own = *row.label ? controlCaption(QString::fromLatin1(row.label), language) : QString();
    if (own.isEmpty() && *row.label)
        own = QString::fromUtf8(row.labelCaption);
    if (own.endsWith(QLatin1Char(':')))
        own.chop(1);
    return own.isEmpty() ? group : group + QStringLiteral(": ") + own;
}

QStringList SettingTexts::inputUnitItems(int input, int extPressMode, int language) {
    const bool pressure = input == 1 ? ParamCodec::in1MeasuresPressure(extPressMode)
                                     : ParamCodec::in2MeasuresPressure(extPressMode);
    QStringList items;
    if (pressure)
        items = {QStringLiteral("Pa"), QStringLiteral("hPa"), QStringLiteral("mbar")};
    else
        items = {input == 1 ? QStringLiteral("°C") : text(kMsgHumidityUnit, language)};
    items.append(text(kMsgOff, language));
    return items;
}

QString SettingTexts::shownItem(const ParamDef &row, int unitListMode, int choice, int language) {
    const QStringList shown = items(row, unitListMode, language);
    return choice >= 0 && choice < shown.size() ? shown.at(choice) : QString();
}

QStringList SettingTexts::items(const ParamDef &row, int unitListMode, int language) {
    const QLatin1String name(row.name);
    if (name == QLatin1String("UnitIN1"))
        return inputUnitItems(1, unitListMode, language);
    if (name == QLatin1String("UnitIN2"))
        return inputUnitItems(2, unitListMode, language);
    QStringList items = ParamTable::designItems(QString::fromLatin1(row.control));
    auto replace = [&items](int index, const QString &value) {
        if (index < items.size())
            items[index] = value;
    };
    const QString off = text(kMsgOff, language);
    if (name == QLatin1String("ExtPress")) {
        for (int i = 0; i < 4; ++i)
            replace(i, text(60 + i, language));
    } else if (name == QLatin1String("RelAssign")) {
        for (int i = 0; i < 8; ++i)
            replace(i, text(66 + i, language));
    } else if (name == QLatin1String("Lang")) {
        replace(0, text(17, language));
        replace(1, text(18, language));
    } else if (name == QLatin1String("UnitP")) {
        replace(3, off);
    } else if (isOffOnList(name)) {
        replace(0, off);
        replace(1, text(kMsgOn, language));
    }
    return items;
}

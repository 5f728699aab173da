#include "i18n/SettingTexts.h"

#include "i18n/MessageCatalogue.h"
#include "params/ParamCodec.h"

#include <iterator>

namespace {

using E = CatalogueEntry;

struct Caption {
    const char *control;
    E entry;
    const char *suffix;
};

// Controls whose caption is a catalogue entry, optionally followed by a fixed suffix.
const Caption kCaptions[] = {
    {"GroupBoxScalP", E::ScalingInternalPressure, ""},
    {"GroupBoxScalIN1T", E::ScalingIn1AsTemperature, ""},
    {"GroupBoxScalIN1P", E::ScalingIn1AsPressure, ""},
    {"GroupBoxScalIN2H", E::ScalingIn2AsHumidity, ""},
    {"GroupBoxScalIN2P", E::ScalingIn2AsPressure, ""},
    {"GroupBoxWarnP", E::WarningInternalPressure, ""},
    {"GroupBoxWarnIN1T", E::WarningIn1AsTemperature, ""},
    {"GroupBoxWarnIN1P", E::WarningIn1AsPressure, ""},
    {"GroupBoxWarnIN2H", E::WarningIn2AsHumidity, ""},
    {"GroupBoxWarnIN2P", E::WarningIn2AsPressure, ""},
    {"LabelScalPdown", E::ValueBottom, " [Pa]:"},
    {"LabelScalIN1Pdown", E::ValueBottom, " [Pa]:"},
    {"LabelScalIN2Pdown", E::ValueBottom, " [Pa]:"},
    {"LabelWarnPdown", E::ValueBottom, " [Pa]:"},
    {"LabelWarnIN1Pdown", E::ValueBottom, " [Pa]:"},
    {"LabelWarnIN2Pdown", E::ValueBottom, " [Pa]:"},
    {"LabelScalPup", E::ValueTop, " [Pa]:"},
    {"LabelScalIN1Pup", E::ValueTop, " [Pa]:"},
    {"LabelScalIN2Pup", E::ValueTop, " [Pa]:"},
    {"LabelWarnPup", E::ValueTop, " [Pa]:"},
    {"LabelWarnIN1Pup", E::ValueTop, " [Pa]:"},
    {"LabelWarnIN2Pup", E::ValueTop, " [Pa]:"},
    {"LabelWarnPHyst", E::Hysteresis, " [Pa]:"},
    {"LabelWarnIN1PHyst", E::Hysteresis, " [Pa]:"},
    {"LabelWarnIN2PHyst", E::Hysteresis, " [Pa]:"},
    {"LabelScalIN1Tdown", E::ValueBottom, " [°C]:"},
    {"LabelWarnIN1Tdown", E::ValueBottom, " [°C]:"},
    {"LabelScalIN1Tup", E::ValueTop, " [°C]:"},
    {"LabelWarnIN1Tup", E::ValueTop, " [°C]:"},
    {"LabelWarnIN1THyst", E::Hysteresis, " [°C]:"},
    {"GroupBoxFilter", E::Filter, ""},
    {"GroupBoxWarnton", E::Sound, ""},
    {"LabelSoundTime", E::DurationMs, ":"},
    {"GroupBoxExterneKonfiguration", E::ExternalPressureConfiguration, ""},
    {"GroupBoxAnzeige", E::Display, ""},
    {"LabelUnitP", E::InternalPressure, ":"},
    {"LabelUnitIN1", E::In1TemperatureOrPressure, ":"},
    {"LabelUnitIN2", E::In2HumidityOrPressure, ":"},
    {"GroupBoxSignale", E::Signals, ""},
    {"LabelSignalP", E::OutPInternalPressure, ":"},
    {"LabelSignalIN1", E::In1TemperatureOrPressure, ":"},
    {"LabelSignalIN2", E::In2HumidityOrPressure, ":"},
    {"GroupBoxRelais", E::Relays, ""},
    {"LabelRelAssign", E::RelayChannelAssignment, ":"},
    {"LabelRelTime1", E::ResponseTimeRelay1, ":"},
    {"LabelRelTime2", E::ResponseTimeRelay2, ":"},
    {"LabelRelAck", E::RelayAcknowledgement, ":"},
    {"GroupBoxNachkomma", E::DecimalPlaces, ""},
    {"LabelDecPlP", E::InternalPressure, ":"},
    {"LabelDecPlIN1T", E::In1AsTemperature, ":"},
    {"LabelDecPlIN1P", E::In1AsPressure, ":"},
    {"LabelDecPlIN2H", E::In2AsHumidity, ":"},
    {"LabelDecPlIN2P", E::In2AsPressure, ":"},
    {"GroupBoxSonstiges", E::Miscellaneous, ""},
    {"LabelLang", E::Language, ":"},
    {"LabelMeasRange2", E::MeasurementRange, ":"},
    {"LabelPassword", E::Password, ":"},
    {"LabelDeviceAdr", E::DeviceAddress, ":"},
    {"ButtonLaden", E::LoadFromZel, ""},
    {"ButtonSenden", E::SendToZel, ""},
    {"ButtonWE100Pa", E::DeliveryState100PaAndLoad, ""},
    {"ButtonWE250Pa", E::DeliveryState250PaAndLoad, ""},
    {"ButtonAbortConfig", E::AbortTransmission, ""},
    {"ButtonBeenden", E::Close, ""},
    {"ButtonNullieren", E::ZeroPointCalibration, ""},
    {"ButtonReset", E::ResetZel, ""},
    {"ButtonClearLog", E::ClearList, ""},
    {"ButtonSaveLog", E::SaveAs, ""},
    {"GroupBox_ZEL_kalibrieren", E::CalibrateZel, ""},
    {"ButtonCalibPlus", E::PositiveRange, ""},
    {"ButtonCalibMinus", E::NegativeRange, ""},
    {"ButtonCalibCancel", E::UndoRecalibration, ""},
    {"LabelMessintervall", E::MeasureInterval, ":"},
    {"LabelIstwerte", E::ActualValues, ":"},
    {"LabelIntDruck", E::InternalPressure, ":"},
};

bool isOffOnList(QLatin1String name) {
    for (const char *list :
         {"Sound", "RelAck", "DecPlP", "DecPlIN1T", "DecPlIN1P", "DecPlIN2H", "DecPlIN2P"}) {
        if (name == QLatin1String(list))
            return true;
    }
    return false;
}

QString text(E entry, int language) {
    return MessageCatalogue::text(entry, language);
}

// The items of the lists whose texts are catalogue entries.
const E kExtPressItems[] = {E::NoExternalPressure, E::OnlyAtIn2, E::OnlyAtIn1, E::AtBothInputs};
const E kRelAssignItems[] = {E::RelayNeverSwitched, E::RelayOnIn2,           E::RelayOnIn1,
                             E::RelayOnIn1In2,      E::RelayOnPressure,      E::RelayOnPressureIn2,
                             E::RelayOnPressureIn1, E::RelayOnPressureIn1In2};

// Captions built from more than one entry.
QString composedCaption(const QString &control, int language) {
    const QString humidity =
        QStringLiteral(" [") + text(E::HumidityUnit, language) + QStringLiteral("]:");
    if (control == QLatin1String("LabelScalIN2Hdown") ||
        control == QLatin1String("LabelWarnIN2Hdown"))
        return text(E::ValueBottom, language) + humidity;
    if (control == QLatin1String("LabelScalIN2Hup") || control == QLatin1String("LabelWarnIN2Hup"))
        return text(E::ValueTop, language) + humidity;
    if (control == QLatin1String("LabelWarnIN2HHyst"))
        return text(E::Hysteresis, language) + humidity;
    const QString msek = text(E::MsecSuffix, language) + QStringLiteral(":");
    if (control == QLatin1String("LabelFilterP"))
        return text(E::InternalPressure, language) + msek;
    if (control == QLatin1String("LabelFilterIN1"))
        return text(E::In1TemperatureOrPressure, language) + msek;
    if (control == QLatin1String("LabelFilterIN2"))
        return text(E::In2HumidityOrPressure, language) + msek;
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
        items = {input == 1 ? QStringLiteral("°C") : text(E::HumidityUnit, language)};
    items.append(text(E::Off, language));
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
    const QString off = text(E::Off, language);
    if (name == QLatin1String("ExtPress")) {
        for (int i = 0; i < int(std::size(kExtPressItems)); ++i)
            replace(i, text(kExtPressItems[i], language));
    } else if (name == QLatin1String("RelAssign")) {
        for (int i = 0; i < int(std::size(kRelAssignItems)); ++i)
            replace(i, text(kRelAssignItems[i], language));
    } else if (name == QLatin1String("Lang")) {
        replace(0, text(E::German, language));
        replace(1, text(E::English, language));
    } else if (name == QLatin1String("UnitP")) {
        replace(3, off);
    } else if (isOffOnList(name)) {
        replace(0, off);
        replace(1, text(E::On, language));
    }
    return items;
}

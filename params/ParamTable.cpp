#include "params/ParamTable.h"

#include <QHash>

namespace {

const std::vector<ParamDef> kRows = {
    {"ScalPdown", "ScalPdown", ParamKind::Decimal, 1, "SkalierungswerteSheet", "GroupBoxScalP",
     "LabelScalPdown", "Wert unten [Pa]:", true, "Scalings"},
    {"ScalPup", "ScalPup", ParamKind::Decimal, 2, "SkalierungswerteSheet", "GroupBoxScalP",
     "LabelScalPup", "Wert oben [Pa]:", true, "Scalings"},
    {"ScalIN1Tdown", "ScalIN1Tdown", ParamKind::Decimal, 3, "SkalierungswerteSheet",
     "GroupBoxScalIN1T", "LabelScalIN1Tdown", "Wert unten [°C]:", false, "Scalings"},
    {"ScalIN1Tup", "ScalIN1Tup", ParamKind::Decimal, 4, "SkalierungswerteSheet", "GroupBoxScalIN1T",
     "LabelScalIN1Tup", "Wert oben [°C]:", false, "Scalings"},
    {"ScalIN1Pdown", "ScalIN1Pdown", ParamKind::Decimal, 5, "SkalierungswerteSheet",
     "GroupBoxScalIN1P", "LabelScalIN1Pdown", "Wert unten [Pa]:", true, "Scalings"},
    {"ScalIN1Pup", "ScalIN1Pup", ParamKind::Decimal, 6, "SkalierungswerteSheet", "GroupBoxScalIN1P",
     "LabelScalIN1Pup", "Wert oben [Pa]:", true, "Scalings"},
    {"ScalIN2Hdown", "ScalIN2Hdown", ParamKind::Decimal, 7, "SkalierungswerteSheet",
     "GroupBoxScalIN2H", "LabelScalIN2Hdown", "Wert unten [%rF]:", false, "Scalings"},
    {"ScalIN2Hup", "ScalIN2Hup", ParamKind::Decimal, 8, "SkalierungswerteSheet", "GroupBoxScalIN2H",
     "LabelScalIN2Hup", "Wert oben [%rF]:", false, "Scalings"},
    {"ScalIN2Pdown", "ScalIN2Pdown", ParamKind::Decimal, 9, "SkalierungswerteSheet",
     "GroupBoxScalIN2P", "LabelScalIN2Pdown", "Wert unten [Pa]:", true, "Scalings"},
    {"ScalIN2Pup", "ScalIN2Pup", ParamKind::Decimal, 10, "SkalierungswerteSheet",
     "GroupBoxScalIN2P", "LabelScalIN2Pup", "Wert oben [Pa]:", true, "Scalings"},
    {"WarnPdown", "WarnPdown", ParamKind::Decimal, 11, "WarnwerteSheet", "GroupBoxWarnP",
     "LabelWarnPdown", "Wert unten [Pa]:", true, "Warnings"},
    {"WarnPup", "WarnPup", ParamKind::Decimal, 12, "WarnwerteSheet", "GroupBoxWarnP",
     "LabelWarnPup", "Wert oben [Pa]:", true, "Warnings"},
    {"WarnPHyst", "WarnPHyst", ParamKind::Decimal, 13, "WarnwerteSheet", "GroupBoxWarnP",
     "LabelWarnPHyst", "Hysterese [Pa]:", true, "Warnings"},
    {"WarnIN1Tdown", "WarnIN1Tdown", ParamKind::Decimal, 14, "WarnwerteSheet", "GroupBoxWarnIN1T",
     "LabelWarnIN1Tdown", "Wert unten [°C]:", false, "Warnings"},
    {"WarnIN1Tup", "WarnIN1Tup", ParamKind::Decimal, 15, "WarnwerteSheet", "GroupBoxWarnIN1T",
     "LabelWarnIN1Tup", "Wert oben [°C]:", false, "Warnings"},
    {"WarnIN1THyst", "WarnIN1THyst", ParamKind::Decimal, 16, "WarnwerteSheet", "GroupBoxWarnIN1T",
     "LabelWarnIN1THyst", "Hysterese [°C]:", false, "Warnings"},
    {"WarnIN1Pdown", "WarnIN1Pdown", ParamKind::Decimal, 17, "WarnwerteSheet", "GroupBoxWarnIN1P",
     "LabelWarnIN1Pdown", "Wert unten [Pa]:", true, "Warnings"},
    {"WarnIN1Pup", "WarnIN1Pup", ParamKind::Decimal, 18, "WarnwerteSheet", "GroupBoxWarnIN1P",
     "LabelWarnIN1Pup", "Wert oben [Pa]:", true, "Warnings"},
    {"WarnIN1PHyst", "WarnIN1PHyst", ParamKind::Decimal, 19, "WarnwerteSheet", "GroupBoxWarnIN1P",
     "LabelWarnIN1PHyst", "Hysterese [Pa]:", true, "Warnings"},
    {"WarnIN2Hdown", "WarnIN2Hdown", ParamKind::Decimal, 20, "WarnwerteSheet", "GroupBoxWarnIN2H",
     "LabelWarnIN2Hdown", "Wert unten [%rF]:", false, "Warnings"},
    {"WarnIN2Hup", "WarnIN2Hup", ParamKind::Decimal, 21, "WarnwerteSheet", "GroupBoxWarnIN2H",
     "LabelWarnIN2Hup", "Wert oben [%rF]:", false, "Warnings"},
    {"WarnIN2HHyst", "WarnIN2HHyst", ParamKind::Decimal, 22, "WarnwerteSheet", "GroupBoxWarnIN2H",
     "LabelWarnIN2HHyst", "Hysterese [%rF]:", false, "Warnings"},
    {"WarnIN2Pdown", "WarnIN2Pdown", ParamKind::Decimal, 23, "WarnwerteSheet", "GroupBoxWarnIN2P",
     "LabelWarnIN2Pdown", "Wert unten [Pa]:", true, "Warnings"},
    {"WarnIN2Pup", "WarnIN2Pup", ParamKind::Decimal, 24, "WarnwerteSheet", "GroupBoxWarnIN2P",
     "LabelWarnIN2Pup", "Wert oben [Pa]:", true, "Warnings"},
    {"WarnIN2PHyst", "WarnIN2PHyst", ParamKind::Decimal, 25, "WarnwerteSheet", "GroupBoxWarnIN2P",
     "LabelWarnIN2PHyst", "Hysterese [Pa]:", true, "Warnings"},
    {"FilterP", "FilterP", ParamKind::Decimal, 26, "EinstellungenSheet", "GroupBoxFilter",
     "LabelFilterP", "int. Druck [msek]:", false, "Filter"},
    {"FilterIN1", "FilterIN1", ParamKind::Decimal, 27, "EinstellungenSheet", "GroupBoxFilter",
     "LabelFilterIN1", "IN-1 (Temp. bzw. Druck) [msek]:", false, "Filter"},
    {"FilterIN2", "FilterIN2", ParamKind::Decimal, 28, "EinstellungenSheet", "GroupBoxFilter",
     "LabelFilterIN2", "IN-2 (Feuchte bzw. Druck) [msek]:", false, "Filter"},
    {"Sound", "Sound", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxWarnton", "", "", false,
     "Sound"},
    {"SoundTime", "SoundTime", ParamKind::Decimal, 29, "EinstellungenSheet", "GroupBoxWarnton",
     "LabelSoundTime", "Länge [ms]:", false, "Sound"},
    {"ExtPress", "ExtPress", ParamKind::Choice, 0, "EinstellungenSheet",
     "GroupBoxExterneKonfiguration", "", "", false, "Configuration extern"},
    {"UnitP", "UnitP", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxAnzeige", "LabelUnitP",
     "int. Druck:", false, "Display"},
    {"UnitIN1", "UnitIN1", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxAnzeige",
     "LabelUnitIN1", "IN-1 (Temp. bzw. Druck):", false, "Display"},
    {"UnitIN2", "UnitIN2", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxAnzeige",
     "LabelUnitIN2", "IN-2 (Feuchte bzw. Druck):", false, "Display"},
    {"SignalP", "SignalP", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxSignale",
     "LabelSignalP", "OUT-D (int. Druck):", false, "Signals"},
    {"SignalIN1", "SignalIN1", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxSignale",
     "LabelSignalIN1", "IN-1 (Temp. bzw. Druck):", false, "Signals"},
    {"SignalIN2", "SignalIN2", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxSignale",
     "LabelSignalIN2", "IN-2 (Feuchte bzw. Druck):", false, "Signals"},
    {"RelAssign", "RelAssign", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxRelais",
     "LabelRelAssign", "Relais-Kanal-Zuordnung:", false, "Relais"},
    {"RelTime1", "RelTime1", ParamKind::Decimal, 30, "EinstellungenSheet", "GroupBoxRelais",
     "LabelRelTime1", "Ansprechzeit Relais 1 (für Überschreitungen) [Sek.]:", false, "Relais"},
    {"RelTime2", "RelTime2", ParamKind::Decimal, 31, "EinstellungenSheet", "GroupBoxRelais",
     "LabelRelTime2", "Ansprechzeit Relais 2 (für Unterschreitungen) [Sek.]:", false, "Relais"},
    {"RelAck", "RelAck", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxRelais",
     "LabelRelAck", "Relaisquittierung:", false, "Relais"},
    {"DecPlP", "DecPlP", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxNachkomma",
     "LabelDecPlP", "int. Druck:", false, "Decimal Places"},
    {"DecPlIN1T", "DecPlIN1T", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxNachkomma",
     "LabelDecPlIN1T", "IN-1 als Temp.:", false, "Decimal Places"},
    {"DecPlIN1P", "DecPlIN1P", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxNachkomma",
     "LabelDecPlIN1P", "IN-1 als Druck:", false, "Decimal Places"},
    {"DecPlIN2H", "DecPlIN2H", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxNachkomma",
     "LabelDecPlIN2H", "IN-2 als Feuchte:", false, "Decimal Places"},
    {"DecPlIN2P", "DecPlIN2P", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxNachkomma",
     "LabelDecPlIN2P", "IN-2 als Druck:", false, "Decimal Places"},
    {"Lang", "Lang", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxSonstiges", "LabelLang",
     "Sprache:", false, "Miscellaneous"},
    {"MeasRange", "MeasRange2", ParamKind::Choice, 0, "EinstellungenSheet", "GroupBoxSonstiges",
     "LabelMeasRange2", "Messbereich int. Druck:", false, "Miscellaneous"},
    {"Password", "Password", ParamKind::Password, 32, "EinstellungenSheet", "GroupBoxSonstiges",
     "LabelPassword", "Passwort:", false, "Miscellaneous"},
    {"DeviceAdr", "DeviceAdr", ParamKind::Address, 0, "EinstellungenSheet", "GroupBoxSonstiges",
     "LabelDeviceAdr", "Geräteadresse:", false, ""},
};

} // namespace

const std::vector<ParamDef> &ParamTable::rows() {
    return kRows;
}

std::vector<const ParamDef *> ParamTable::all() {
    std::vector<const ParamDef *> pointers;
    for (const ParamDef &row : rows())
        pointers.push_back(&row);
    return pointers;
}

const ParamDef *ParamTable::find(const QString &name) {
    for (const ParamDef &row : kRows) {
        if (name == QLatin1String(row.name) || name == QLatin1String(row.control))
            return &row;
    }
    return nullptr;
}

QString ParamTable::groupBoxCaption(const QString &groupBox) {
    static const QHash<QString, QString> captions = {
        {"GroupBoxScalP", "Skalierung int. Druck (anal. Ausgang, 'OUT-D')"},
        {"GroupBoxScalIN1T", "Skalierung IN-1 als Temp. ('IN1-T')"},
        {"GroupBoxScalIN1P", "Skalierung IN-1 als Druck ('IN1-D')"},
        {"GroupBoxScalIN2H", "Skalierung IN-2 als Feuchte ('IN2-F')"},
        {"GroupBoxScalIN2P", "Skalierung IN-2 als Druck ('IN2-D')"},
        {"GroupBoxWarnP", "Warnung int. Druck"},
        {"GroupBoxWarnIN1T", "Warnung IN-1 als Temp. ('IN1-T')"},
        {"GroupBoxWarnIN1P", "Warnung IN-1 als Druck ('IN1-D')"},
        {"GroupBoxWarnIN2H", "Warnung IN-2 als Feuchte ('IN2-F')"},
        {"GroupBoxWarnIN2P", "Warnung IN-2 als Druck ('IN2-D')"},
        {"GroupBoxFilter", "Filter"},
        {"GroupBoxWarnton", "Warnton"},
        {"GroupBoxExterneKonfiguration", "Konfiguration für externen Druck"},
        {"GroupBoxAnzeige", "Anzeige"},
        {"GroupBoxSignale", "Signale (Spannung/Strom)"},
        {"GroupBoxRelais", "Relais"},
        {"GroupBoxNachkomma", "Nachkomma"},
        {"GroupBoxSonstiges", "Sonstiges"},
    };
    return captions.value(groupBox);
}

// Groups with long captions take the whole width.
GroupPlace ParamTable::groupPlace(const QString &groupBox) {
    static const QHash<QString, GroupPlace> places = {
        {"GroupBoxScalP", {0, 0, 1}},
        {"GroupBoxScalIN1T", {1, 0, 1}},
        {"GroupBoxScalIN1P", {1, 1, 1}},
        {"GroupBoxScalIN2H", {2, 0, 1}},
        {"GroupBoxScalIN2P", {2, 1, 1}},
        {"GroupBoxWarnP", {0, 0, 1}},
        {"GroupBoxWarnIN1T", {1, 0, 1}},
        {"GroupBoxWarnIN1P", {1, 1, 1}},
        {"GroupBoxWarnIN2H", {2, 0, 1}},
        {"GroupBoxWarnIN2P", {2, 1, 1}},
        {"GroupBoxFilter", {0, 0, 2}},
        {"GroupBoxWarnton", {1, 0, 1}},
        {"GroupBoxExterneKonfiguration", {1, 1, 1}},
        {"GroupBoxAnzeige", {2, 0, 1}},
        {"GroupBoxSignale", {2, 1, 1}},
        {"GroupBoxNachkomma", {3, 0, 1}},
        {"GroupBoxSonstiges", {3, 1, 1}},
        {"GroupBoxRelais", {4, 0, 2}},
    };
    return places.value(groupBox);
}

QStringList ParamTable::designItems(const QString &control) {
    static const QStringList offOn = {"aus (0)", "an (1)"};
    static const QStringList pressureUnits = {"Pa", "hPa", "mbar", "aus"};
    static const QStringList signalTypes = {"0 - 20 mA", "4 - 20 mA", "0 - 10 V"};
    static const QHash<QString, QStringList> items = {
        {"Sound", offOn},
        {"RelAck", offOn},
        {"DecPlP", offOn},
        {"DecPlIN1T", offOn},
        {"DecPlIN1P", offOn},
        {"DecPlIN2H", offOn},
        {"DecPlIN2P", offOn},
        {"ExtPress",
         {"keine externen Drucksensoren (0)", "nur an IN-2 (1)", "nur an IN-1 (2)",
          "an beiden IN-Eingängen (3)"}},
        {"UnitP", pressureUnits},
        {"UnitIN1", {"°C", "aus"}},
        {"UnitIN2", {"%rF", "aus"}},
        {"SignalP", signalTypes},
        {"SignalIN1", signalTypes},
        {"SignalIN2", signalTypes},
        {"RelAssign",
         {"nie angezogen (0)", "bei Unter-/Überschr. von IN2 (1)",
          "bei Unter-/Überschr. von IN1 (2)", "bei Unter-/Überschr. von IN1 + IN2 (3)",
          "bei Unter-/Überschr. von int. Druck (4)",
          "bei Unter-/Überschr. von int. Druck + IN2 (5)",
          "bei Unter-/Überschr. von int. Druck + IN1 (6)",
          "bei Unter-/Überschr. von int. Druck + IN1 + IN2 (7)"}},
        {"Lang", {"deutsch (0)", "englisch (1)"}},
        {"MeasRange1", {"+/- 250 Pa", "+/- 100 Pa"}},
        {"MeasRange2", {"+/- 250 Pa", "+/- 100 Pa"}},
    };
    return items.value(control);
}

int ParamTable::pageIndex(const QString &sheet) {
    if (sheet == QLatin1String("SkalierungswerteSheet"))
        return 1;
    if (sheet == QLatin1String("WarnwerteSheet"))
        return 2;
    if (sheet == QLatin1String("EinstellungenSheet"))
        return 3;
    return -1;
}

#pragma once

#include "params/ParamTable.h"

#include <QChar>
#include <QString>

// Conversions between the device's lines and what the settings controls show: reply to text or
// index, control text or index to set command, and the unit lists of IN-1 and IN-2 that change
// their meaning with the external-pressure mode. No widgets; conversion failures throw
// EConvertError with the toolkit's texts.
class ParamCodec {
public:
    // Which unit lists a pick of another external-pressure mode has to rebuild.
    struct UnitListRebuild {
        bool in1 = false;
        bool in2 = false;
    };

    static QString queryCommand(const QString &name);
    // ">" + name + " " + value; the value goes out as it stands.
    static QString setCommand(const QString &name, const QString &value);

    // The value part of a query reply: every occurrence of the name removed (case matters),
    // every "." replaced by the local decimal separator.
    static QString replyValue(const QString &reply, const QString &name, QChar decimalSeparator);
    // A decimal value shown the shortest way with at most 15 significant digits.
    static QString decimalText(const QString &value, QChar decimalSeparator);
    // A password as a number shown with leading zeros to four digits.
    static QString passwordText(const QString &value, QChar decimalSeparator);
    // A choice value; leading blanks are allowed.
    static int choiceValue(const QString &value);
    // An edit text as the device reads it: only "," becomes "."; nothing is validated.
    static QString editTextOnWire(const QString &editText);

    static bool in1MeasuresPressure(int extPressMode);
    static bool in2MeasuresPressure(int extPressMode);
    // Device value of a unit list's selected index (input 1 or 2): the device codes "off" as 3
    // whatever the input measures.
    static int unitValue(int input, int extPressMode, int index);
    // Index to select in a unit list for a device value.
    static int unitIndex(int input, int extPressMode, int value);
    static UnitListRebuild extPressRebuild(int previousMode, int newMode);

    // A set command was refused when its reply begins with "Err".
    static bool isRefusal(const QString &reply);
    // The transfer failure marker for a refused row: its check number where it has one, else
    // kChoiceMarkerBase + its position in the table (1-based), so a choice row is found again.
    static constexpr int kChoiceMarkerBase = 100;
    static int refusalMarker(const ParamDef &row);
    // The row a marker stands for, or nullptr for 0 and unknown markers.
    static const ParamDef *rowForMarker(int marker);
};

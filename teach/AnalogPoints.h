#pragma once

#include <QString>
#include <vector>

enum class Quantity { Current, Voltage };

// One reference point of the output OUT-D: where the DA search starts and how the found DA
// value is stored in the device.
struct OutputPoint {
    int index;
    int target; // mA or V
    int startDa;
    int startStep;
    const char *valueLabel;
    const char *storePrefix; // store command = prefix + DA value
};

// One reference point of an analog input; the DA value of its search is the sourced voltage in
// millivolts.
struct InputPoint {
    int index;
    int target; // mA or V
    int startMillivolts;
};

// One of the four input sections of the teach run, in run order.
struct InputSection {
    int input; // 1 or 2
    Quantity quantity;
    const char *checkBox;       // objectName of the check box that selects the section
    int multiplexerCode;        // "SOUR:DIG:DATA" code
    const char *sourceSetting;  // instrument setting (INI key) of the source channel
    const char *measureSetting; // instrument setting (INI key) of the measuring channel
    const char *labelPrefix;    // value label = prefix + target + unit
    const char *teachName;      // device command = ">" + name + index
    const char *statusText;     // status when the section starts
};

// The output and input point tables of the teach run.
class AnalogPoints {
public:
    static constexpr int InputPointCount = 7;
    static constexpr int InputStartStep = 5;

    static const std::vector<OutputPoint> &outputPoints(Quantity quantity);
    // ">IDC " / ">VDC " + DA: sets the output DAC of the device.
    static QString outputDaCommand(Quantity quantity, int da);
    static QString outputStoreCommand(const OutputPoint &point, int da);

    static const std::vector<InputSection> &inputSections();
    static const std::vector<InputPoint> &inputPoints(Quantity quantity);
    static QString inputValueLabel(const InputSection &section, const InputPoint &point);
    // ">TIN1IStuetz" + index and the like: the device records its raw input reading.
    static QString inputTeachCommand(const InputSection &section, int index);
    // The value in the reply: every teach name + index and every blank removed.
    static QString inputReplyValue(const InputSection &section, const QString &reply, int index);

    // "mA" or "V".
    static QString unit(Quantity quantity);
};

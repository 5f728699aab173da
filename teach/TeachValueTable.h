#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

enum class TeachGroup { Pressure, Recalibration, Correction, OutD, In1, In2 };

// One teach value of the device: the name it has on the wire, the label on the teach tab that
// shows it, the row caption label beside it and where a teach-value file keeps it.
struct TeachValueRow {
    int number; // 1..61, the order of the load
    TeachGroup group;
    const char *deviceName;   // query "?" + name, send ">" + name + " " + value
    const char *valueLabel;   // objectName of the value label, also the file key
    const char *captionLabel; // objectName of the row caption label, "" for corrections
    const char *caption100;   // row caption in the +/- 100 Pa range
    const char *caption250;   // row caption in the +/- 250 Pa range
    const char *fileSection;  // section in teach-value files, "" when not stored
};

// The 61 teach values. Load, send, files and the teach run all walk this one table.
class TeachValueTable {
public:
    static constexpr int RowCount = 61;
    static constexpr int StoredCount = 48;
    static constexpr int SendExchangeCount = 51;

    // All rows in load order (No. 1 to 61).
    static const std::vector<TeachValueRow> &rows();
    // The 48 rows the send writes to the device, in send order (corrections are never sent).
    static std::vector<const TeachValueRow *> sentRows();
    // The 48 rows a teach-value file keeps, in file order, with fileSection and valueLabel as key.
    static std::vector<const TeachValueRow *> storedRows();
    // The 15 rows whose row caption depends on the measurement range.
    static std::vector<const TeachValueRow *> rangeCaptionRows();
    static const TeachValueRow *findByValueLabel(const QString &valueLabel);
    static const TeachValueRow *findByDeviceName(const QString &deviceName);

    static bool isStored(const TeachValueRow &row);
    static bool hasRangeCaption(const TeachValueRow &row);
    // Row caption for the selected range: index 1 is +/- 100 Pa, any other index (0 or none)
    // +/- 250 Pa.
    static QString caption(const TeachValueRow &row, int rangeIndex);
    // Row caption before any range is chosen ("--- Pa:" and the re-calibration forms); rows
    // without a range-dependent caption keep their fixed caption.
    static QString startCaption(const TeachValueRow &row);

    // ">" + device name + " " + caption, the caption as it stands.
    static QString valueCommand(const TeachValueRow &row, const QString &caption);
    // The 51 commands of the teach send: ">MTeach", the 48 value commands, "SavePar", ">MTeach".
    static QStringList sendCommands(const std::function<QString(const TeachValueRow &)> &captionOf);
};

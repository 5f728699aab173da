#include "teach/TeachValueTable.h"

namespace {

// Sections of teach-value files; the output points share the one of the pressure points.
const char *const Intern = "interner Druck";
const char *const Input1 = "Input 1";
const char *const Input2 = "Input 2";

// Captions of the re-calibration rows and of the pressure rows before a range is chosen.
const char *const NoRangePressureCaption = "--- Pa:";
const char *const NoRangeKalibMinus = "Nach-Kalibr. Minus (--- Pa):";
const char *const NoRangeKalibPlus = "Nach-Kalibr. Plus (--- Pa):";

} // namespace

const std::vector<TeachValueRow> &TeachValueTable::rows() {
    using G = TeachGroup;
    // Corrections carry the captions of the row they sit in; they have no caption label.
    // clang-format off
    static const std::vector<TeachValueRow> table = {
        {1, G::Pressure, "PStuetz0", "M120", "LabelM120", "-120 Pa:", "-300 Pa:", Intern},
        {2, G::Pressure, "PStuetz1", "M100", "LabelM100", "-100 Pa:", "-250 Pa:", Intern},
        {3, G::Pressure, "PStuetz3", "M80", "LabelM80", "-80 Pa:", "-200 Pa:", Intern},
        {4, G::Pressure, "PStuetz5", "M60", "LabelM60", "-60 Pa:", "-150 Pa:", Intern},
        {5, G::Pressure, "PStuetz7", "M40", "LabelM40", "-40 Pa:", "-100 Pa:", Intern},
        {6, G::Pressure, "PStuetz9", "M20", "LabelM20", "-20 Pa:", "-50 Pa:", Intern},
        {7, G::Pressure, "PStuetz11", "PM0", "LabelPM0", "0 Pa:", "0 Pa:", Intern},
        {8, G::Pressure, "PStuetz13", "P20", "LabelP20", "20 Pa:", "50 Pa:", Intern},
        {9, G::Pressure, "PStuetz15", "P40", "LabelP40", "40 Pa:", "100 Pa:", Intern},
        {10, G::Pressure, "PStuetz17", "P60", "LabelP60", "60 Pa:", "150 Pa:", Intern},
        {11, G::Pressure, "PStuetz19", "P80", "LabelP80", "80 Pa:", "200 Pa:", Intern},
        {12, G::Pressure, "PStuetz21", "P100", "LabelP100", "100 Pa:", "250 Pa:", Intern},
        {13, G::Pressure, "PStuetz22", "P120", "LabelP120", "120 Pa:", "300 Pa:", Intern},
        {14, G::Recalibration, "CalibMinus", "KalibMinus", "LabelKalibMinus",
            "Nach-Kalibr. Minus (-100 Pa):", "Nach-Kalibr. Minus (-250 Pa):", Intern},
        {15, G::Recalibration, "CalibPlus", "KalibPlus", "LabelKalibPlus",
            "Nach-Kalibr. Plus (100 Pa):", "Nach-Kalibr. Plus (250 Pa):", Intern},
        {16, G::Correction, "PStuetzKorr0", "M120korr", "", "-120 Pa:", "-300 Pa:", ""},
        {17, G::Correction, "PStuetzKorr1", "M100korr", "", "-100 Pa:", "-250 Pa:", ""},
        {18, G::Correction, "PStuetzKorr3", "M80korr", "", "-80 Pa:", "-200 Pa:", ""},
        {19, G::Correction, "PStuetzKorr5", "M60korr", "", "-60 Pa:", "-150 Pa:", ""},
        {20, G::Correction, "PStuetzKorr7", "M40korr", "", "-40 Pa:", "-100 Pa:", ""},
        {21, G::Correction, "PStuetzKorr9", "M20korr", "", "-20 Pa:", "-50 Pa:", ""},
        {22, G::Correction, "PStuetzKorr11", "PM0korr", "", "0 Pa:", "0 Pa:", ""},
        {23, G::Correction, "PStuetzKorr13", "P20korr", "", "20 Pa:", "50 Pa:", ""},
        {24, G::Correction, "PStuetzKorr15", "P40korr", "", "40 Pa:", "100 Pa:", ""},
        {25, G::Correction, "PStuetzKorr17", "P60korr", "", "60 Pa:", "150 Pa:", ""},
        {26, G::Correction, "PStuetzKorr19", "P80korr", "", "80 Pa:", "200 Pa:", ""},
        {27, G::Correction, "PStuetzKorr21", "P100korr", "", "100 Pa:", "250 Pa:", ""},
        {28, G::Correction, "PStuetzKorr22", "P120korr", "", "120 Pa:", "300 Pa:", ""},
        {29, G::OutD, "StIDC0", "I0mA", "LabelI0mA", "0 mA:", "0 mA:", Intern},
        {30, G::OutD, "StIDC1", "I4mA", "LabelI4mA", "4 mA:", "4 mA:", Intern},
        {31, G::OutD, "StIDC2", "I20mA", "LabelI20mA", "20 mA:", "20 mA:", Intern},
        {32, G::OutD, "StVDC1", "U0V", "LabelU0V", "0 V:", "0 V:", Intern},
        {33, G::OutD, "StVDC3", "U10V", "LabelU10V", "10 V:", "10 V:", Intern},
        {34, G::In1, "IN1IStuetz0", "IN1I0mA", "LabelIN1I0mA", "0 mA:", "0 mA:", Input1},
        {35, G::In1, "IN1IStuetz1", "IN1I4mA", "LabelIN1I4mA", "4 mA:", "4 mA:", Input1},
        {36, G::In1, "IN1IStuetz2", "IN1I8mA", "LabelIN1I8mA", "8 mA:", "8 mA:", Input1},
        {37, G::In1, "IN1IStuetz3", "IN1I12mA", "LabelIN1I12mA", "12 mA:", "12 mA:", Input1},
        {38, G::In1, "IN1IStuetz4", "IN1I16mA", "LabelIN1I16mA", "16 mA:", "16 mA:", Input1},
        {39, G::In1, "IN1IStuetz5", "IN1I20mA", "LabelIN1I20mA", "20 mA:", "20 mA:", Input1},
        {40, G::In1, "IN1IStuetz6", "IN1I21mA", "LabelIN1I21mA", "21 mA:", "21 mA:", Input1},
        {41, G::In1, "IN1UStuetz0", "IN1U0V", "LabelIN1U0V", "0 V:", "0 V:", Input1},
        {42, G::In1, "IN1UStuetz1", "IN1U2V", "LabelIN1U2V", "2 V:", "2 V:", Input1},
        {43, G::In1, "IN1UStuetz2", "IN1U4V", "LabelIN1U4V", "4 V:", "4 V:", Input1},
        {44, G::In1, "IN1UStuetz3", "IN1U6V", "LabelIN1U6V", "6 V:", "6 V:", Input1},
        {45, G::In1, "IN1UStuetz4", "IN1U8V", "LabelIN1U8V", "8 V:", "8 V:", Input1},
        {46, G::In1, "IN1UStuetz5", "IN1U10V", "LabelIN1U10V", "10 V:", "10 V:", Input1},
        {47, G::In1, "IN1UStuetz6", "IN1U11V", "LabelIN1U11V", "11 V:", "11 V:", Input1},
        {48, G::In2, "IN2IStuetz0", "IN2I0mA", "LabelIN2I0mA", "0 mA:", "0 mA:", Input2},
        {49, G::In2, "IN2IStuetz1", "IN2I4mA", "LabelIN2I4mA", "4 mA:", "4 mA:", Input2},
        {50, G::In2, "IN2IStuetz2", "IN2I8mA", "LabelIN2I8mA", "8 mA:", "8 mA:", Input2},
        {51, G::In2, "IN2IStuetz3", "IN2I12mA", "LabelIN2I12mA", "12 mA:", "12 mA:", Input2},
        {52, G::In2, "IN2IStuetz4", "IN2I16mA", "LabelIN2I16mA", "16 mA:", "16 mA:", Input2},
        {53, G::In2, "IN2IStuetz5", "IN2I20mA", "LabelIN2I20mA", "20 mA:", "20 mA:", Input2},
        {54, G::In2, "IN2IStuetz6", "IN2I21mA", "LabelIN2I21mA", "21 mA:", "21 mA:", Input2},
        {55, G::In2, "IN2UStuetz0", "IN2U0V", "LabelIN2U0V", "0 V:", "0 V:", Input2},
        {56, G::In2, "IN2UStuetz1", "IN2U2V", "LabelIN2U2V", "2 V:", "2 V:", Input2},
        {57, G::In2, "IN2UStuetz2", "IN2U4V", "LabelIN2U4V", "4 V:", "4 V:", Input2},
        {58, G::In2, "IN2UStuetz3", "IN2U6V", "LabelIN2U6V", "6 V:", "6 V:", Input2},
        {59, G::In2, "IN2UStuetz4", "IN2U8V", "LabelIN2U8V", "8 V:", "8 V:", Input2},
        {60, G::In2, "IN2UStuetz5", "IN2U10V", "LabelIN2U10V", "10 V:", "10 V:", Input2},
        {61, G::In2, "IN2UStuetz6", "IN2U11V", "LabelIN2U11V", "11 V:", "11 V:", Input2},
    };
    // clang-format on
    return table;
}

bool TeachValueTable::isStored(const TeachValueRow &row) {
    return row.fileSection[0] != '\0';
}

bool TeachValueTable::hasRangeCaption(const TeachValueRow &row) {
    return row.group == TeachGroup::Pressure || row.group == TeachGroup::Recalibration;
}

std::vector<const TeachValueRow *> TeachValueTable::sentRows() {
    std::vector<const TeachValueRow *> result;
    for (const TeachValueRow &row : rows()) {
        if (row.group != TeachGroup::Correction)
            result.push_back(&row);
    }
    return result;
}

std::vector<const TeachValueRow *> TeachValueTable::storedRows() {
    std::vector<const TeachValueRow *> result;
    for (const TeachValueRow &row : rows()) {
        if (isStored(row))
            result.push_back(&row);
    }
    return result;
}

std::vector<const TeachValueRow *> TeachValueTable::rangeCaptionRows() {
    std::vector<const TeachValueRow *> result;
    for (const TeachValueRow &row : rows()) {
        if (hasRangeCaption(row))
            result.push_back(&row);
    }
    return result;
}

const TeachValueRow *TeachValueTable::findByValueLabel(const QString &valueLabel) {
    for (const TeachValueRow &row : rows()) {
        if (valueLabel == QLatin1String(row.valueLabel))
            return &row;
    }
    return nullptr;
}

const TeachValueRow *TeachValueTable::findByDeviceName(const QString &deviceName) {
    for (const TeachValueRow &row : rows()) {
        if (deviceName == QLatin1String(row.deviceName))
            return &row;
    }
    return nullptr;
}

QString TeachValueTable::caption(const TeachValueRow &row, int rangeIndex) {
    return QString::fromLatin1(rangeIndex == 1 ? row.caption100 : row.caption250);
}

QString TeachValueTable::startCaption(const TeachValueRow &row) {
    if (row.group == TeachGroup::Pressure || row.group == TeachGroup::Correction)
        return QString::fromLatin1(NoRangePressureCaption);
    if (row.group == TeachGroup::Recalibration) {
        return QString::fromLatin1(QLatin1String(row.deviceName) == QLatin1String("CalibMinus")
                                       ? NoRangeKalibMinus
                                       : NoRangeKalibPlus);
    }
    return QString::fromLatin1(row.caption250);
}

QString TeachValueTable::valueCommand(const TeachValueRow &row, const QString &caption) {
    return QLatin1Char('>') + QLatin1String(row.deviceName) + QLatin1Char(' ') + caption;
}

QStringList
TeachValueTable::sendCommands(const std::function<QString(const TeachValueRow &)> &captionOf) {
    QStringList commands;
    commands << QStringLiteral(">MTeach");
    for (const TeachValueRow *row : sentRows())
        commands << valueCommand(*row, captionOf(*row));
    commands << QStringLiteral("SavePar") << QStringLiteral(">MTeach");
    return commands;
}

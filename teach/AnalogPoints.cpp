#include "teach/AnalogPoints.h"

const std::vector<OutputPoint> &AnalogPoints::outputPoints(Quantity quantity) {
    static const std::vector<OutputPoint> current = {
        {0, 0, 80, 5, "I0mA", ">StIDC0 "},
        {1, 4, 793, 50, "I4mA", ">StIDC1 "},
        {2, 20, 3707, 400, "I20mA", ">StIDC2 "},
    };
    // The device has no voltage points 0 and 2: 0 V goes to StVDC1, 10 V to StVDC3.
    static const std::vector<OutputPoint> voltage = {
        {0, 0, 80, 5, "U0V", ">StVDC1 "},
        {1, 10, 3376, 400, "U10V", ">StVDC3 "},
    };
    return quantity == Quantity::Current ? current : voltage;
}

QString AnalogPoints::outputDaCommand(Quantity quantity, int da) {
    return (quantity == Quantity::Current ? QStringLiteral(">IDC ") : QStringLiteral(">VDC ")) +
           QString::number(da);
}

QString AnalogPoints::outputStoreCommand(const OutputPoint &point, int da) {
    return QLatin1String(point.storePrefix) + QString::number(da);
}

const std::vector<InputSection> &AnalogPoints::inputSections() {
    static const std::vector<InputSection> sections = {
        {1, Quantity::Current, "CheckBox_IN1_Strom", 2, "Agilent_IN1_2_Strom",
         "Agilent_IN1_2_Strommessung", "IN1I", "TIN1IStuetz", "IN-1: Strom wird geteacht ..."},
        {1, Quantity::Voltage, "CheckBox_IN1_Spannung", 0, "Agilent_IN1_2_Spg",
         "Agilent_IN1_2_Spgmessung", "IN1U", "TIN1UStuetz", "IN-1: Spannung wird geteacht ..."},
        {2, Quantity::Current, "CheckBox_IN2_Strom", 3, "Agilent_IN1_2_Strom",
         "Agilent_IN1_2_Strommessung", "IN2I", "TIN2IStuetz", "IN-2: Strom wird geteacht ..."},
        {2, Quantity::Voltage, "CheckBox_IN2_Spannung", 1, "Agilent_IN1_2_Spg",
         "Agilent_IN1_2_Spgmessung", "IN2U", "TIN2UStuetz", "IN-2: Spannung wird geteacht ..."},
    };
    return sections;
}

const std::vector<InputPoint> &AnalogPoints::inputPoints(Quantity quantity) {
    static const std::vector<InputPoint> current = {
        {0, 0, -21},   {1, 4, 1854},  {2, 8, 3730},  {3, 12, 5605},
        {4, 16, 7480}, {5, 20, 9356}, {6, 21, 9825},
    };
    static const std::vector<InputPoint> voltage = {
        {0, 0, -6},   {1, 2, 1992},  {2, 4, 3991},   {3, 6, 5991},
        {4, 8, 7990}, {5, 10, 9990}, {6, 11, 10990},
    };
    return quantity == Quantity::Current ? current : voltage;
}

QString AnalogPoints::inputValueLabel(const InputSection &section, const InputPoint &point) {
    return QLatin1String(section.labelPrefix) + QString::number(point.target) +
           unit(section.quantity);
}

QString AnalogPoints::inputTeachCommand(const InputSection &section, int index) {
    return QLatin1Char('>') + QLatin1String(section.teachName) + QString::number(index);
}

QString AnalogPoints::inputReplyValue(const InputSection &section, const QString &reply,
                                      int index) {
    QString rest = reply;
    rest.remove(QLatin1String(section.teachName) + QString::number(index));
    rest.remove(QLatin1Char(' '));
    return rest;
}

QString AnalogPoints::unit(Quantity quantity) {
    return quantity == Quantity::Current ? QStringLiteral("mA") : QStringLiteral("V");
}

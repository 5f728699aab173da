#pragma once

#include <QString>

// Command texts of the pressure controller (KMV700) and the data-acquisition unit (34970A, SCPI),
// and how their replies are read. The texts are written exactly as they stand: the bus adds the
// message termination.
class InstrumentCommands {
public:
    // "GPIB0::" + address + "::INSTR", the address inserted unchanged (even when empty).
    static QString resourceName(const QString &address);

    // Pressure controller; every command starts with a blank.
    static QString outform();         // " Outform 1"
    static QString channelB();        // " Chan B"
    static QString sensorSecondary(); // " Sensor Secondary, 2"
    static QString stableQuery();     // " Stable?"
    static QString vent();            // " Vent"
    // " _pcs4 func ctrl " + magnitude + " Pa"; the controller never gets the sign.
    static QString setPoint(int pressure);
    // Blanks removed, the line end (last two characters) dropped, then exactly "YES".
    static bool isStable(const QString &reply);

    // Data-acquisition unit; channel lists are inserted verbatim between "(@" and ")".
    static QString measureCurrent(const QString &channel);
    static QString measureVoltage(const QString &channel);
    static QString digitalData(int code, const QString &channel);
    static QString sourceVoltage(int millivolts, const QString &channel);
    // Millivolts as volts in fixed notation with three decimals and "." (-21 -> "-0.021").
    static QString voltsText(int millivolts);
    // A MEAS reply as a number: "." becomes ",", the line end (last character) is dropped and
    // the rest converted with "," as decimal separator. Throws EConvertError.
    static double reading(const QString &reply);
    // A MEAS:CURR reply in mA.
    static double currentMilliamps(const QString &reply);
};

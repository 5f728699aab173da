#include "teach/InstrumentCommands.h"

#include "base/NumberText.h"

QString InstrumentCommands::resourceName(const QString &address) {
    return QStringLiteral("GPIB0::") + address + QStringLiteral("::INSTR");
}

QString InstrumentCommands::outform() {
    return QStringLiteral(" Outform 1");
}

QString InstrumentCommands::channelB() {
    return QStringLiteral(" Chan B");
}

QString InstrumentCommands::sensorSecondary() {
    return QStringLiteral(" Sensor Secondary, 2");
}

QString InstrumentCommands::stableQuery() {
    return QStringLiteral(" Stable?");
}

QString InstrumentCommands::vent() {
    return QStringLiteral(" Vent");
}

QString InstrumentCommands::setPoint(int pressure) {
    QString magnitude = QString::number(pressure);
    magnitude.remove(QLatin1Char('-'));
    return QStringLiteral(" _pcs4 func ctrl ") + magnitude + QStringLiteral(" Pa");
}

bool InstrumentCommands::isStable(const QString &reply) {
    QString word = reply;
    word.remove(QLatin1Char(' '));
    word.chop(2);
    return word == QLatin1String("YES");
}

QString InstrumentCommands::measureCurrent(const QString &channel) {
    return QStringLiteral("MEAS:CURR:DC? 0.1,0.0000001,(@") + channel + QLatin1Char(')');
}

QString InstrumentCommands::measureVoltage(const QString &channel) {
    return QStringLiteral("MEAS:VOLT:DC? 100,0.001,(@") + channel + QLatin1Char(')');
}

QString InstrumentCommands::digitalData(int code, const QString &channel) {
    return QStringLiteral("SOUR:DIG:DATA ") + QString::number(code) + QStringLiteral(",(@") +
           channel + QLatin1Char(')');
}

QString InstrumentCommands::sourceVoltage(int millivolts, const QString &channel) {
    return QStringLiteral("SOUR:VOLT ") + voltsText(millivolts) + QStringLiteral(",(@") + channel +
           QLatin1Char(')');
}

QString InstrumentCommands::voltsText(int millivolts) {
    // Integer arithmetic keeps the text exact (-6 mV must read -0.006, never -0.0059...).
    const qint64 magnitude = millivolts < 0 ? -qint64(millivolts) : qint64(millivolts);
    const QString sign = millivolts < 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(magnitude / 1000) + QLatin1Char('.') +
           QStringLiteral("%1").arg(magnitude % 1000, 3, 10, QLatin1Char('0'));
}

double InstrumentCommands::reading(const QString &reply) {
    QString number = reply;
    number.replace(QLatin1Char('.'), QLatin1Char(','));
    number.chop(1);
    return NumberText::toFloat(number, QLatin1Char(','));
}

double InstrumentCommands::currentMilliamps(const QString &reply) {
    return reading(reply) * 1000.0;
}

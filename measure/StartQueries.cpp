#include "measure/StartQueries.h"

#include "app/NumberText.h"
#include "app/TformMain.h"
#include "i18n/LanguageApplier.h"
#include "measure/ChartRanges.h"
#include "measure/PolledChannels.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

constexpr int kUnitOffCode = 3;        // the device's code for a display switched off
constexpr int kTemperatureOffItem = 1; // item of "aus" in the temperature and humidity lists

QComboBox *combo(TformMain &window, const char *name) {
    return window.ctl<QComboBox>(QString::fromLatin1(name));
}

// The device codes "off" as 3 whatever the input measures; the lists of a temperature or
// humidity input have only "unit, off". IN-1 measures temperature in modes 0 and 1, IN-2
// humidity in modes 0 and 2.
int unitItem(int input, int extPress, int code) {
    const bool plainInput = extPress == 0 || extPress == (input == kChannelIN1 ? 1 : 2);
    return plainInput && code == kUnitOffCode ? kTemperatureOffItem : code;
}

} // namespace

std::array<ValueRange, 3> StartQueries::run(TformMain &window) {
    readUnits(window);
    const int measRange = queryIndex(window, QStringLiteral("MeasRange"));
    combo(window, "MeasRange1")->setCurrentIndex(measRange);
    combo(window, "MeasRange2")->setCurrentIndex(measRange);

    std::array<ValueRange, 3> ranges;
    ranges[kChannelIN1] = readInput(window, kChannelIN1);
    ranges[kChannelIN2] = readInput(window, kChannelIN2);
    ranges[kChannelPressure] = ChartRanges::pressureRange(
        combo(window, "MeasRange2")->currentIndex(), combo(window, "UnitP")->currentIndex());
    return ranges;
}

void StartQueries::readUnits(TformMain &window) {
    QComboBox *extPress = combo(window, "ExtPress");
    extPress->setCurrentIndex(queryIndex(window, QStringLiteral("ExtPress")));
    const int mode = extPress->currentIndex();
    window.state.previousExtPressMode = mode;
    LanguageApplier::rebuildInputUnits(window, 1, mode);
    LanguageApplier::rebuildInputUnits(window, 2, mode);

    combo(window, "UnitP")
        ->setCurrentIndex(queryIndexWithoutBlanks(window, QStringLiteral("UnitP")));
    const int in1 = queryIndexWithoutBlanks(window, QStringLiteral("UnitIN1"));
    combo(window, "UnitIN1")->setCurrentIndex(unitItem(kChannelIN1, mode, in1));
    const int in2 = queryIndexWithoutBlanks(window, QStringLiteral("UnitIN2"));
    combo(window, "UnitIN2")->setCurrentIndex(unitItem(kChannelIN2, mode, in2));
}

ValueRange StartQueries::readInput(TformMain &window, int input) {
    const int mode = combo(window, "ExtPress")->currentIndex();
    const bool pressure = PolledChannels::measuresPressure(input, mode);
    const QString prefix =
        QStringLiteral("ScalIN%1%2")
            .arg(input)
            .arg(pressure ? QLatin1Char('P')
                          : (input == kChannelIN1 ? QLatin1Char('T') : QLatin1Char('H')));
    const double down = queryScaling(window, prefix + QStringLiteral("down"));
    const double up = queryScaling(window, prefix + QStringLiteral("up"));
    const QString signalName = QStringLiteral("SignalIN%1").arg(input);
    QComboBox *signal = window.ctl<QComboBox>(signalName);
    signal->setCurrentIndex(queryIndex(window, signalName));
    QComboBox *unit = window.ctl<QComboBox>(QStringLiteral("UnitIN%1").arg(input));
    return ChartRanges::inputRange(down, up, pressure, unit->currentIndex(),
                                   signal->currentIndex());
}

QString StartQueries::valueOf(TformMain &window, const QString &name) {
    QString rest = window.SendToCom(QLatin1Char('?') + name);
    rest.remove(name);
    return rest;
}

int StartQueries::queryIndex(TformMain &window, const QString &name) {
    QString rest = valueOf(window, name);
    rest.replace(QLatin1Char('.'), window.state.decimalSeparator);
    return NumberText::toInt(rest);
}

int StartQueries::queryIndexWithoutBlanks(TformMain &window, const QString &name) {
    QString rest = valueOf(window, name);
    rest.remove(QLatin1Char(' '));
    return NumberText::toInt(rest);
}

double StartQueries::queryScaling(TformMain &window, const QString &name) {
    QString rest = valueOf(window, name);
    rest.replace(QLatin1Char('.'), window.state.decimalSeparator);
    const double value = NumberText::toFloat(rest, window.state.decimalSeparator);
    window.ctl<QLineEdit>(name)->setText(
        NumberText::fromFloat(value, window.state.decimalSeparator));
    return value;
}

#include "measure/ChartConfiguration.h"

#include "app/TformMain.h"
#include "measure/MeasurePageBuilder.h"
#include "measure/PolledChannels.h"

#include <QComboBox>
#include <QLabel>

namespace {

enum : int {
    kMsgPressureLetter = 64,
    kMsgHumidityLetter = 65,
    kMsgTemperature = 100,
    kMsgHumidity = 101,
    kMsgPressureAtIN1 = 102,
    kMsgPressureAtIN2 = 103,
};

const char *const kUnitLists[3] = {"UnitP", "UnitIN1", "UnitIN2"};
const char *const kCaptionLabels[3] = {"LabelIntDruck", "LabelTemperatur", "LabelFeuchte"};
const char *const kValueLabels[3] = {"IntDruck", "Temperatur", "Feuchte"};

QLabel *chartLabel(const TformMain &window, const char *prefix, int channel) {
    return window.ctl<QLabel>(QString::fromLatin1(prefix) +
                              QString::fromLatin1(MeasurePageBuilder::suffix(channel)));
}

int selected(const TformMain &window, const char *list) {
    return window.ctl<QComboBox>(QString::fromLatin1(list))->currentIndex();
}

} // namespace

UnitSelection ChartConfiguration::currentUnits(const TformMain &window) {
    UnitSelection units;
    units.extPress = selected(window, "ExtPress");
    units.unitP = selected(window, kUnitLists[0]);
    units.unitIN1 = selected(window, kUnitLists[1]);
    units.unitIN2 = selected(window, kUnitLists[2]);
    return units;
}

void ChartConfiguration::apply(TformMain &window) {
    const UnitSelection units = currentUnits(window);
    applyChannel(window, kChannelPressure, units);
    applyChannel(window, kChannelIN1, units);
    applyInputCaptions(window, kChannelIN1, units.extPress);
    applyChannel(window, kChannelIN2, units);
    applyInputCaptions(window, kChannelIN2, units.extPress);
}

void ChartConfiguration::applyChannel(TformMain &window, int channel, const UnitSelection &units) {
    QLabel *yAxis = chartLabel(window, "LabelyAchse", channel);
    QLabel *caption = window.ctl<QLabel>(QString::fromLatin1(kCaptionLabels[channel]));
    QLabel *value = window.ctl<QLabel>(QString::fromLatin1(kValueLabels[channel]));
    const bool off = PolledChannels::switchedOff(channel, units);
    if (off || window.state.measurementRunning) {
        chartLabel(window, "max", channel)->hide();
        chartLabel(window, "min", channel)->hide();
    }
    if (off) {
        for (QLabel *label : {yAxis, caption, value})
            label->hide();
        return;
    }
    yAxis->setText(window.ctl<QComboBox>(QString::fromLatin1(kUnitLists[channel]))->currentText());
    for (QLabel *label : {yAxis, caption, value})
        label->show();
}

void ChartConfiguration::applyInputCaptions(TformMain &window, int input, int extPress) {
    QString letter;
    int caption = 0;
    if (PolledChannels::measuresPressure(input, extPress)) {
        letter = window.msg(kMsgPressureLetter);
        caption = input == kChannelIN1 ? kMsgPressureAtIN1 : kMsgPressureAtIN2;
    } else if (input == kChannelIN1) {
        letter = QStringLiteral("T");
        caption = kMsgTemperature;
    } else {
        letter = window.msg(kMsgHumidityLetter);
        caption = kMsgHumidity;
    }
    chartLabel(window, "max", input)->setText(QStringLiteral("max_") + letter);
    chartLabel(window, "min", input)->setText(QStringLiteral("min_") + letter);
    window.ctl<QLabel>(QString::fromLatin1(kCaptionLabels[input]))
        ->setText(window.msg(caption) + QLatin1Char(':'));
}

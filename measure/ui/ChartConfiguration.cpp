#include "measure/ui/ChartConfiguration.h"

#include "base/SharedState.h"
#include "base/ui/Controls.h"
#include "i18n/MessageCatalogue.h"
#include "i18n/SettingTexts.h"
#include "measure/MeasurementPoller.h"
#include "measure/PolledChannels.h"
#include "measure/ui/MeasurePageBuilder.h"
#include "params/SettingsModel.h"

#include <QLabel>

namespace {

const char *const kUnitLists[3] = {"UnitP", "UnitIN1", "UnitIN2"};
const char *const kCaptionLabels[3] = {"LabelIntDruck", "LabelTemperatur", "LabelFeuchte"};
const char *const kValueLabels[3] = {"IntDruck", "Temperatur", "Feuchte"};

QLabel *chartLabel(const QWidget &window, const char *prefix, int channel) {
    return findControl<QLabel>(window,
                               QString::fromLatin1(prefix) +
                                   QString::fromLatin1(MeasurePageBuilder::suffix(channel)));
}

QLabel *label(const QWidget &window, const char *name) {
    return findControl<QLabel>(window, QString::fromLatin1(name));
}

} // namespace

void ChartConfiguration::apply(QWidget &window, const SettingsModel &settings,
                               const SharedState &state) {
    const UnitSelection units = MeasurementPoller::unitsOf(settings);
    applyChannel(window, settings, state, kChannelPressure, units);
    applyChannel(window, settings, state, kChannelIN1, units);
    applyInputCaptions(window, state, kChannelIN1, units.extPress);
    applyChannel(window, settings, state, kChannelIN2, units);
    applyInputCaptions(window, state, kChannelIN2, units.extPress);
}

void ChartConfiguration::applyChannel(QWidget &window, const SettingsModel &settings,
                                      const SharedState &state, int channel,
                                      const UnitSelection &units) {
    QLabel *yAxis = chartLabel(window, "LabelyAchse", channel);
    QLabel *caption = label(window, kCaptionLabels[channel]);
    QLabel *value = label(window, kValueLabels[channel]);
    const bool off = PolledChannels::switchedOff(channel, units);
    if (off || state.measurementRunning) {
        chartLabel(window, "max", channel)->hide();
        chartLabel(window, "min", channel)->hide();
    }
    if (off) {
        for (QLabel *label : {yAxis, caption, value})
            label->hide();
        return;
    }
    // The unit as its list shows it.
    const ParamDef &unit = *ParamTable::find(QString::fromLatin1(kUnitLists[channel]));
    const QStringList items = SettingTexts::items(unit, settings.unitListMode(), state.language);
    const int selectedUnit = settings.choice(unit);
    yAxis->setText(selectedUnit >= 0 && selectedUnit < items.size() ? items.at(selectedUnit)
                                                                    : QString());
    for (QLabel *label : {yAxis, caption, value})
        label->show();
}

void ChartConfiguration::applyInputCaptions(QWidget &window, const SharedState &state, int input,
                                            int extPress) {
    const auto msg = [&state](CatalogueEntry entry) {
        return MessageCatalogue::text(entry, state.language);
    };
    QString letter;
    CatalogueEntry caption;
    if (PolledChannels::measuresPressure(input, extPress)) {
        letter = msg(CatalogueEntry::PressureLetter);
        caption =
            input == kChannelIN1 ? CatalogueEntry::PressureAtIn1 : CatalogueEntry::PressureAtIn2;
    } else if (input == kChannelIN1) {
        letter = QStringLiteral("T");
        caption = CatalogueEntry::Temperature;
    } else {
        letter = msg(CatalogueEntry::HumidityLetter);
        caption = CatalogueEntry::Humidity;
    }
    chartLabel(window, "max", input)->setText(QStringLiteral("max_") + letter);
    chartLabel(window, "min", input)->setText(QStringLiteral("min_") + letter);
    label(window, kCaptionLabels[input])->setText(msg(caption) + QLatin1Char(':'));
}

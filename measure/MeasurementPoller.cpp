#include "measure/MeasurementPoller.h"

#include "i18n/SettingTexts.h"
#include "link/DeviceSession.h"
#include "measure/StartQueries.h"
#include "measure/ValueDisplay.h"
#include "params/SettingsModel.h"

namespace {
const char *const kUnitLists[PolledChannels::kChannelCount] = {"UnitP", "UnitIN1", "UnitIN2"};

int selected(const SettingsModel &settings, const char *list) {
    return settings.choice(*ParamTable::find(QString::fromLatin1(list)));
}
} // namespace

MeasurementPoller::MeasurementPoller(DeviceSession &session, SettingsModel &settings)
    : session_(session), settings_(settings) {}

UnitSelection MeasurementPoller::unitsOf(const SettingsModel &settings) {
    UnitSelection units;
    units.extPress = selected(settings, "ExtPress");
    units.unitP = selected(settings, kUnitLists[0]);
    units.unitIN1 = selected(settings, kUnitLists[1]);
    units.unitIN2 = selected(settings, kUnitLists[2]);
    return units;
}

QString MeasurementPoller::unitText(int channel) const {
    const ParamDef &list = *ParamTable::find(QString::fromLatin1(kUnitLists[channel]));
    const QStringList items =
        SettingTexts::items(list, settings_.unitListMode(), session_.language());
    const int unit = settings_.choice(list);
    return unit >= 0 && unit < items.size() ? items.at(unit) : QString();
}

void MeasurementPoller::start(const std::function<void(const ParamDef &)> &arrived) {
    historyIndex_ = 0;
    for (ChannelHistory &history : histories_)
        history.clearStates();
    configured_ = StartQueries(session_, settings_, arrived).run();
    current_ = configured_;
}

MeasurementPoller::Texts
MeasurementPoller::poll(const std::function<void(int, const QString &)> &polled) {
    const UnitSelection selection = units();
    Texts texts;
    for (int channel = 0; channel < PolledChannels::kChannelCount; ++channel) {
        if (!PolledChannels::polled(channel, selection))
            continue;
        texts[channel] = pollChannel(channel, selection);
        if (polled)
            polled(channel, texts[channel]);
    }
    return texts;
}

QString MeasurementPoller::pollChannel(int channel, const UnitSelection &units) {
    const int p = ChannelHistory::clampIndex(historyIndex_);
    ChannelHistory &history = histories_[channel];
    const QString reply = session_.send(PolledChannels::command(channel));

    ValueDisplay::Format format;
    format.localSeparator = session_.decimalSeparator();
    format.language = session_.language();
    format.hecto = PolledChannels::hectoUnit(channel, units);
    format.unit = unitText(channel);
    // A reply that is no number keeps the previous point's value.
    const double fallback = p > 0 ? history.at(p - 1).value : current_[channel].lower;
    const PolledValue value =
        ValueDisplay::interpret(reply, PolledChannels::name(channel), fallback, format);
    if (value.state == PointState::Value)
        history.setValue(p, value.value);
    else
        history.setState(p, value.state);
    return value.text;
}

void MeasurementPoller::advance() {
    historyIndex_ =
        ChannelHistory::advance(historyIndex_, {&histories_[0], &histories_[1], &histories_[2]});
}

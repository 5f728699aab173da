#include "report/LiveCheck.h"

#include "base/Errors.h"
#include "i18n/MessageCatalogue.h"
#include "link/DeviceSession.h"
#include "measure/MeasurementPoller.h"
#include "params/SettingsModel.h"

#include <algorithm>

namespace {

QString channelCaption(int channel, const UnitSelection &units, int language) {
    CatalogueEntry entry = CatalogueEntry::InternalPressure;
    if (channel == kChannelIN1)
        entry = PolledChannels::measuresPressure(1, units.extPress) ? CatalogueEntry::PressureAtIn1
                                                                    : CatalogueEntry::Temperature;
    else if (channel == kChannelIN2)
        entry = PolledChannels::measuresPressure(2, units.extPress) ? CatalogueEntry::PressureAtIn2
                                                                    : CatalogueEntry::Humidity;
    return MessageCatalogue::text(entry, language);
}

} // namespace

int LiveCheck::readingsFor(int seconds) {
    return std::clamp(seconds * 1000 / kIntervalMs, 1, kMaxSeconds * 1000 / kIntervalMs);
}

LiveCheckResult LiveCheck::run(DeviceSession &session, int seconds,
                               const std::function<void()> &read) {
    SettingsModel settings;
    MeasurementPoller poller(session, settings);
    poller.start();
    const UnitSelection units = poller.units();
    LiveCheckResult result;
    result.intervalMs = kIntervalMs;
    result.readings = readingsFor(seconds);
    result.seconds = result.readings * kIntervalMs / 1000;
    for (int channel = 0; channel < PolledChannels::kChannelCount; ++channel) {
        ChannelCheck &check = result.channels[channel];
        check.polled = PolledChannels::polled(channel, units);
        check.caption = channelCaption(channel, units, session.language());
        check.unit = poller.unitText(channel);
        check.hecto = PolledChannels::hectoUnit(channel, units);
        check.configured = poller.configuredRange(channel);
    }
    for (int reading = 0; reading < result.readings; ++reading) {
        if (reading > 0)
            session.delay(kIntervalMs);
        if (session.abortRequested())
            throw EGlobalError(session.message(CatalogueEntry::AbortByUser));
        const int point = ChannelHistory::clampIndex(poller.historyIndex());
        poller.poll();
        for (int channel = 0; channel < PolledChannels::kChannelCount; ++channel) {
            if (result.channels[channel].polled)
                result.channels[channel].add(poller.history(channel).at(point));
        }
        poller.advance();
        if (read)
            read();
    }
    return result;
}

DeviceVariant LiveCheck::probeVariant(DeviceSession &session) {
    QString reply = session.send(QStringLiteral(">TCalibFinished"));
    reply.remove(QStringLiteral("TCalibFinished"));
    reply = reply.trimmed();
    if (reply == QLatin1String("Err_CmdNotExist"))
        return DeviceVariant::WithoutRecalibration;
    if (reply == QLatin1String("Err_NotActive"))
        return DeviceVariant::WithRecalibration;
    return DeviceVariant::Unknown;
}

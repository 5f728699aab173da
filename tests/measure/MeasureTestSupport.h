#pragma once

#include "app/MeasurementController.h"
#include "tests/support/WindowFixture.h"

#include <QByteArray>
#include <functional>

// Helpers of the end-to-end measurement tests: device settings, scripted poll replies, and
// ticks run as the timer would run them (failures go to the window's handler).
namespace measuretest {

inline void setDevice(WindowFixture &fx, const QByteArray &name, double value) {
    fx.device().withModel([&](sim::DeviceModel &m) { m.setSetting(name, value); });
}

inline void quietSensor(WindowFixture &fx) {
    fx.device().withModel([](sim::DeviceModel &m) { m.setNoiseEnabled(false); });
}

// The next reply to `command` (once).
inline void replyOnce(WindowFixture &fx, const QByteArray &command, const QByteArray &reply) {
    fx.device().addFault(sim::FaultRule::customReply(command, reply, 1));
}

inline void tick(WindowFixture &fx) {
    TformMain &w = fx.window();
    w.runGuarded([&w] { w.TimerMessungEvent(); });
}

inline void ticks(WindowFixture &fx, int count) {
    for (int i = 0; i < count; ++i)
        tick(fx);
}

inline MeasurementController &measurement(WindowFixture &fx) {
    return fx.window().measurement();
}

} // namespace measuretest

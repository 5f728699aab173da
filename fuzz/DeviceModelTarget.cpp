#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"

#include "sim/DeviceModel.h"
#include "sim/SettingSpec.h"
#include "sim/WireNumber.h"

#include <QList>

#include <cmath>

// The simulator's command parser on arbitrary command lines, with a clock the input moves on,
// and the wire number texts it reads and writes.
namespace zelfuzz {

namespace {

void checkWireNumber(const QByteArray &text) {
    double value = 0;
    if (sim::wire::parseDecimal(text, &value)) {
        check(std::isfinite(value), "a wire decimal is finite");
        double again = 0;
        check(sim::wire::parseDecimal(sim::wire::formatDecimal(value), &again) && again == value,
              "a wire decimal survives its shortest text");
        const QByteArray fixed = sim::wire::formatFixed(value, 3);
        check(sim::wire::parseDecimal(fixed, &again), "a fixed wire text reads back");
    }
    std::int64_t integer = 0;
    if (sim::wire::parseInteger(text, &integer))
        check(sim::wire::parseDecimal(QByteArray::number(qlonglong(integer)), &value),
              "a wire integer is a wire decimal");
}

} // namespace

void deviceModel(const QByteArray &data) {
    FuzzInput in(data);
    const int measRange = in.pick(2);
    const std::uint32_t seed = in.byte();
    const bool noise = in.flag();
    const int clockStep = in.pick(4) * 1000; // ms per command: zeroing ends after 3000
    const QByteArray commands = in.rest();

    sim::DeviceModel model(measRange, seed);
    model.setNoiseEnabled(noise);
    std::int64_t now = 0;
    model.setClock([&now] { return now; });

    for (const QByteArray &line : commands.split('\r')) {
        const QByteArray reply = model.reply(line);
        check(!reply.isEmpty(), "the device answers every line");
        check(!reply.contains('\r'), "a reply holds no CR, which would end it early");
        const qsizetype blank = line.indexOf(' ');
        if (line.startsWith('>') && blank > 0)
            checkWireNumber(line.mid(blank + 1));
        now += clockStep;
    }
    for (const sim::SettingSpec &spec : sim::SettingSpec::table()) {
        const QByteArray name(spec.name);
        check(std::isfinite(model.setting(name)), "settings stay finite");
        check(model.reply('?' + name).startsWith(name), "a setting query names the setting");
    }
}

} // namespace zelfuzz

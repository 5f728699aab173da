#include "sim/SettingSpec.h"

namespace sim {

namespace {

using K = SettingSpec::Kind;

// Pressures in Pa, temperatures in degC, humidity in %rF, filters and tone in ms, relays in s.
// Limits are the same for both variants, so a send in table order (MeasRange comes late)
// never trips over the range it is about to switch to.
constexpr std::array<SettingSpec, SettingSpec::Count> kSettings{{
    {"ScalPdown", K::Decimal, -250, 250, -250, -100},
    {"ScalPup", K::Decimal, -250, 250, 250, 100},
    {"ScalIN1Tdown", K::Decimal, -50, 150, 0, 0},
    {"ScalIN1Tup", K::Decimal, -50, 150, 50, 50},
    {"ScalIN1Pdown", K::Decimal, -10000, 10000, 0, 0},
    {"ScalIN1Pup", K::Decimal, -10000, 10000, 1000, 1000},
    {"ScalIN2Hdown", K::Decimal, 0, 100, 0, 0},
    {"ScalIN2Hup", K::Decimal, 0, 100, 100, 100},
    {"ScalIN2Pdown", K::Decimal, -10000, 10000, 0, 0},
    {"ScalIN2Pup", K::Decimal, -10000, 10000, 1000, 1000},
    {"WarnPdown", K::Decimal, -250, 250, -200, -80},
    {"WarnPup", K::Decimal, -250, 250, 200, 80},
    {"WarnPHyst", K::Decimal, 0, 50, 5, 2},
    {"WarnIN1Tdown", K::Decimal, -50, 150, 5, 5},
    {"WarnIN1Tup", K::Decimal, -50, 150, 40, 40},
    {"WarnIN1THyst", K::Decimal, 0, 20, 1, 1},
    {"WarnIN1Pdown", K::Decimal, -10000, 10000, 100, 100},
    {"WarnIN1Pup", K::Decimal, -10000, 10000, 900, 900},
    {"WarnIN1PHyst", K::Decimal, 0, 1000, 10, 10},
    {"WarnIN2Hdown", K::Decimal, 0, 100, 20, 20},
    {"WarnIN2Hup", K::Decimal, 0, 100, 80, 80},
    {"WarnIN2HHyst", K::Decimal, 0, 20, 2, 2},
    {"WarnIN2Pdown", K::Decimal, -10000, 10000, 100, 100},
    {"WarnIN2Pup", K::Decimal, -10000, 10000, 900, 900},
    {"WarnIN2PHyst", K::Decimal, 0, 1000, 10, 10},
    {"FilterP", K::Decimal, 0, 10000, 1000, 2000},
    {"FilterIN1", K::Decimal, 0, 10000, 1000, 1000},
    {"FilterIN2", K::Decimal, 0, 10000, 1000, 1000},
    {"Sound", K::Choice, 0, 1, 1, 1},
    {"SoundTime", K::Decimal, 0, 60000, 1000, 1000},
    {"ExtPress", K::Choice, 0, 3, 0, 0},
    {"UnitP", K::Choice, 0, 3, 0, 0},
    {"UnitIN1", K::Choice, 0, 3, 0, 0},
    {"UnitIN2", K::Choice, 0, 3, 0, 0},
    {"SignalP", K::Choice, 0, 2, 1, 1},
    {"SignalIN1", K::Choice, 0, 2, 1, 1},
    {"SignalIN2", K::Choice, 0, 2, 1, 1},
    {"RelAssign", K::Choice, 0, 7, 4, 4},
    {"RelTime1", K::Decimal, 0, 600, 2, 2},
    {"RelTime2", K::Decimal, 0, 600, 2, 2},
    {"RelAck", K::Choice, 0, 1, 0, 0},
    {"DecPlP", K::Choice, 0, 1, 0, 1},
    {"DecPlIN1T", K::Choice, 0, 1, 1, 1},
    {"DecPlIN1P", K::Choice, 0, 1, 0, 0},
    {"DecPlIN2H", K::Choice, 0, 1, 0, 0},
    {"DecPlIN2P", K::Choice, 0, 1, 0, 0},
    {"Lang", K::Choice, 0, 1, 0, 0},
    {"MeasRange", K::Choice, 0, 1, 0, 1},
    {"Password", K::Password, 0, 9999, 0, 0},
    {"DeviceAdr", K::Address, 1, 247, 1, 1},
}};

} // namespace

const std::array<SettingSpec, SettingSpec::Count> &SettingSpec::table() {
    return kSettings;
}

int SettingSpec::indexOf(const QByteArray &name) {
    for (int i = 0; i < Count; ++i) {
        if (name == kSettings[i].name)
            return i;
    }
    return -1;
}

} // namespace sim

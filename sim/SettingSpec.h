#pragma once

#include <QByteArray>

#include <array>

namespace sim {

// One of the 50 settings the device keeps, with the limits it accepts and its factory values
// for the two measuring ranges.
struct SettingSpec {
    enum class Kind { Decimal, Choice, Password, Address };

    const char *name;
    Kind kind;
    double min;        // Choice: 0
    double max;        // Choice: highest index
    double factory250; // factory value of the +/-250 Pa variant
    double factory100; // factory value of the +/-100 Pa variant

    double factory(int measRange) const { return measRange == 1 ? factory100 : factory250; }

    static constexpr int Count = 50;
    static const std::array<SettingSpec, Count> &table();
    // Position in the table, or -1 for a name that is no setting (case matters).
    static int indexOf(const QByteArray &name);
};

} // namespace sim

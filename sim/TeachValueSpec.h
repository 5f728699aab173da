#pragma once

#include <QByteArray>

#include <array>

namespace sim {

// One of the 61 teach values (support points) the device keeps. All are integers in the
// device's own units: raw sensor counts, DA values or raw input readings.
struct TeachValueSpec {
    enum class Group {
        Pressure,
        Recalibration,
        Correction,
        OutputCurrent,
        OutputVoltage,
        InputCurrent,
        InputVoltage
    };

    const char *name;
    Group group;
    int input; // 1 or 2 for the input groups, else 0
    int point; // device index of the point (PStuetz 0..22, StIDC 0..2, StVDC 1/3, inputs 0..6)
    int min;
    int max;

    static constexpr int Count = 61;
    static const std::array<TeachValueSpec, Count> &table();
    // Position in the table, or -1 (case matters).
    static int indexOf(const QByteArray &name);
};

} // namespace sim

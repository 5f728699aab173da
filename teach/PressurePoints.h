#pragma once

#include <QString>
#include <vector>

// Which pressure port of the device receives the pressure, set through the serial port's modem
// lines.
struct LineSide {
    bool dtr;
    bool rts;
};

// The internal-pressure points of the teach run. The run walks the device indices 0..22 but
// teaches only 13 of them (0, the odd indices 1..21, and 22).
class PressurePoints {
public:
    static constexpr int IndexCount = 23;
    static constexpr int TaughtCount = 13;

    // Nominal pressure in Pa: -120 at 0, +120 at 22, 10 * i - 110 between.
    static int nominal(int index);
    // Pressure the controller generates: nominal * 5 / 2 in the +/- 250 Pa range (range index
    // 0), the nominal pressure in the +/- 100 Pa range (any other index).
    static int generated(int index, int rangeIndex);
    // Value label: "M" + magnitude, "P" + value or "PM0".
    static QString labelName(int index);
    // Negative pressure: DTR clear, RTS set; positive: DTR set, RTS clear; zero: both clear.
    static LineSide lineSide(int pressure);
    // Index after a stored point: 0 and 21 step by one, all others by two.
    static int nextIndex(int index);
    // The taught indices in the order the run visits them.
    static std::vector<int> taughtIndices();
    // Set-point of the controller for the point; the sign is switched by the modem lines.
    static QString setPointCommand(int index, int rangeIndex);
    // ">TPStuetz" + index: the device records its raw value for that point.
    static QString teachCommand(int index);
    // The value in the reply to teachCommand: every "TPStuetz" + index and every blank removed.
    static QString replyValue(const QString &reply, int index);
};

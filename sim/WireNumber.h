#pragma once

#include <QByteArray>

#include <cstdint>

// Number texts as the device reads and writes them on the serial line: "." as decimal point,
// no blanks, no exponent, no thousands separators.
namespace sim::wire {

// Optional sign, digits, optionally "." and digits. Anything else is malformed.
bool parseDecimal(const QByteArray &text, double *value);

// Optional sign and digits only; the result must fit into 64 bits.
bool parseInteger(const QByteArray &text, std::int64_t *value);

// Shortest text that reads back as the same double, in plain notation ("-250", "12.5").
QByteArray formatDecimal(double value);

// Fixed number of decimals, never "-0.0".
QByteArray formatFixed(double value, int decimals);

} // namespace sim::wire

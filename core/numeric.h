#pragma once
// Numbers as the host runtime handles them: 16-bit counts that overflow with
// error 6, and rounding to the nearest integer with ties to even.
#include <cstdint>

namespace qx {

// Value as a 16-bit integer; outside -32768..32767 raises error 6.
std::int16_t checkedInt16(std::int64_t v);
// Value as a 32-bit integer; outside its range raises error 6.
std::int32_t checkedInt32(std::int64_t v);

std::int16_t add16(std::int16_t a, std::int16_t b);
std::int16_t sub16(std::int16_t a, std::int16_t b);
std::int16_t mul16(std::int16_t a, std::int16_t b);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double v);

// The host's CInt, CLng and CByte of a double: rounded half to even, range checked (error 6).
std::int16_t toInt16(double v);
std::int32_t toInt32(double v);
std::uint8_t toByte(double v);

}  // namespace qx

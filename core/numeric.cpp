#include "core/numeric.h"

#include <cmath>
#include <limits>

#include "core/error.h"

namespace qx {

std::int16_t checkedInt16(std::int64_t v) {
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        raise(err::Overflow);
    return static_cast<std::int16_t>(v);
}

std::int32_t checkedInt32(std::int64_t v) {
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        raise(err::Overflow);
    return static_cast<std::int32_t>(v);
}

std::int16_t add16(std::int16_t a, std::int16_t b) { return checkedInt16(std::int64_t{a} + b); }
std::int16_t sub16(std::int16_t a, std::int16_t b) { return checkedInt16(std::int64_t{a} - b); }
std::int16_t mul16(std::int16_t a, std::int16_t b) { return checkedInt16(std::int64_t{a} * b); }

double roundHalfEven(double v) {
    if (!std::isfinite(v)) return v;
    const double fl = std::floor(v);
    const double diff = v - fl;
    if (diff < 0.5) return fl;
    if (diff > 0.5) return fl + 1.0;
    return std::fmod(fl, 2.0) == 0.0 ? fl : fl + 1.0;
}

namespace {
template <typename T>
T roundChecked(double v) {
    const double r = roundHalfEven(v);
    if (!std::isfinite(r) || r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        raise(err::Overflow);
    return static_cast<T>(r);
}
}  // namespace

std::int16_t toInt16(double v) { return roundChecked<std::int16_t>(v); }
std::int32_t toInt32(double v) { return roundChecked<std::int32_t>(v); }
std::uint8_t toByte(double v) { return roundChecked<std::uint8_t>(v); }

}  // namespace qx

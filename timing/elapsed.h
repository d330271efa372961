#pragma once
// Elapsed time as "hh:mm:ss".
#include <cstdint>

#include "core/qxstring.h"

namespace qx::timing {

// Splits a count of seconds into hours, minutes and seconds. `seconds` is
// left holding what remains after the whole hours (the caller sees that).
// The result is "hh:mm:ss" when the parts make a time of day, "" otherwise
// (24 hours or more, or a negative count).
String secondsToHHMMSS(std::int32_t& seconds);

}  // namespace qx::timing

#pragma once
// Time stamps as text, the time between two of them, and waiting while the
// host's windows stay responsive.
#include <cstdint>

#include "core/qxstring.h"

namespace qx::timing {

// The local date and time now, in the general date form, without outer blanks.
String timeStamp();
// Whole seconds from one stamp to another, as "hh:mm:ss"; error 13 when a text is no date.
String elapsedTime(const String& start, const String& stop);
// Waits until the clock's second has changed `seconds` times, processing
// window messages as they come; error 6 beyond 16 bits, before any wait.
void waitSeconds(std::int32_t seconds);
// Waits 0 or 1 second, at random.
void waitRandomTime();

}  // namespace qx::timing

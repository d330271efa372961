#pragma once
// Checks on the primary display: its size in pixels against a minimum the
// host needs, and whether its settings changed since the last look.
#include <cstdint>

#include "core/state.h"

namespace qx::sysinfo {

// Measures the screen and reads the display settings; with a minimum that
// both dimensions fall short of, tells the user in a message box and answers false.
bool checkScreenSize(std::int16_t minWidth, std::int16_t minHeight);
// Reads the display settings again; true, and the reading kept, when they
// differ from the reading kept last time.
bool checkIfResolutionChanged();

// The message and title of the too-small warning.
String screenTooSmallText(std::int16_t minWidth, std::int16_t minHeight);

}  // namespace qx::sysinfo

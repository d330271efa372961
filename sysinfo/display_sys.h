#pragma once
// The platform primitive under the display checks of display.h.
#include "core/state.h"

namespace qx::sysinfo {

// Reads the display settings in use; false (and the record untouched) when there are none.
bool readDisplaySettings(DisplaySettingsRecord& record);

}  // namespace qx::sysinfo

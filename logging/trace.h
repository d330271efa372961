#pragma once
// The procedure trace log: "Start" and "End" lines whose indentation shows
// how the host's procedures nest.
#include <cstdint>

#include "core/variant.h"

namespace qx::logging {

// InitTraceLog: `applInf` holds the host application object.
void initTraceLog(const Variant& applInf);
// WriteTraceLog: `msgType` 1 begins a procedure, 2 ends one; never raises.
void writeTraceLog(const String& routineName, std::int16_t msgType);

}  // namespace qx::logging

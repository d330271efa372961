#include "logging/trace.h"

#include "core/error.h"

namespace qx::logging {

void initTraceLog(const Variant&) { notAvailable("clsQXGenRtns", "InitTraceLog"); }
void writeTraceLog(const String&, std::int16_t) { notAvailable("clsQXGenRtns", "WriteTraceLog"); }

}  // namespace qx::logging

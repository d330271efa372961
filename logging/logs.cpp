#include "logging/logs.h"

#include "core/error.h"

namespace qx::logging {

String initLog(Log, const String&) { notAvailable("clsQXGenRtns", "InitLog"); }
void writeLog(Log, const String&) { notAvailable("clsQXGenRtns", "WriteLog"); }
void writeAppErrorLog(const String&) { notAvailable("clsQXGenRtns", "WriteAppErrorLog"); }

}  // namespace qx::logging

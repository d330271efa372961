#pragma once
// The application, debug and error logs, and the application error log:
// plain-text files in the host's "Log" folder, each switched on by its INI
// key, started with a header line and appended to one time-stamped line per
// write.
#include "core/qxstring.h"

namespace qx::logging {

enum class Log { Application, Debug, Error };

// InitLog / InitDebugLog / InitErrorLog: the log's full path, or "".
String initLog(Log log, const String& fileName);
// WriteLog / WriteDebugLog / WriteErrorLog, each with its own failure rule.
void writeLog(Log log, const String& message);
// WriteAppErrorLog.
void writeAppErrorLog(const String& message);

}  // namespace qx::logging

#pragma once
// Running a command line as a new process and waiting until it has ended.
#include <cstdint>
#include <string>
#include <vector>

#include "core/qxstring.h"

namespace qx::launch {

// Why a start failed, as the system reports it.
enum class StartFailure { None, NotFound, AccessDenied, OutOfMemory, Invalid };

// The runtime error number of a start failure (53 file not found, 70
// permission denied, 7 out of memory, 5 invalid procedure call).
std::int32_t startErrorNumber(StartFailure failure);

// The system's show-window code for a window style (0 hidden, 1 normal,
// 2 minimised, 3 maximised, 4 normal without focus, 6 minimised without
// focus); -1 for a style that is none of these.
int showWindowCode(std::int32_t windowStyle);

// The words of a command line split as a POSIX shell splits them, without
// expanding anything: blanks separate words; '...' keeps everything literally;
// "..." keeps everything but lets a backslash escape ", \, $ and `; a
// backslash outside quotes keeps the next character. False for an
// unterminated quote.
bool splitCommandLine(const std::string& line, std::vector<std::string>& words);

// The text the failure message shows.
String startFailureMessage(const String& program, std::int32_t errorNumber);

// Starts `program` with the window style and waits for it to end; a start
// failure is shown in a message box and the call returns normally.
void shellAndWait(const String& program, std::int32_t windowStyle);

}  // namespace qx::launch

// Windows writer for the log benchmark: the bare CreateFileA(FILE_APPEND_DATA)
// / WriteFile / CloseHandle loop.
#include <windows.h>

#include "log_bench.h"

LogWriter bareAppendLoop() {
    return {"open/append/close loop", [](const std::string& file, const std::vector<std::string>& lines) {
                for (const std::string& line : lines) {
                    HANDLE h = CreateFileA(file.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr);
                    if (h == INVALID_HANDLE_VALUE) continue;
                    DWORD written = 0;
                    WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
                    CloseHandle(h);
                }
            }};
}

std::vector<LogWriter> platformLoggers() { return {}; }

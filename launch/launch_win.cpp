// Windows: CreateProcess with the show-window code; the wait opens the new
// process by its id for synchronisation, as any other program could.
#include <windows.h>

#include <vector>

#include "core/scoped_win.h"
#include "launch/launch_sys.h"

namespace qx::launch::sys {

Process::~Process() { UniqueHandle(static_cast<HANDLE>(handle)).reset(); }

StartFailure start(const std::string& commandLine, int showWindow, Process& process) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showWindow);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        switch (GetLastError()) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_NAME:
            case ERROR_BAD_NETPATH: return StartFailure::NotFound;
            case ERROR_ACCESS_DENIED: return StartFailure::AccessDenied;
            case ERROR_NOT_ENOUGH_MEMORY:
            case ERROR_OUTOFMEMORY: return StartFailure::OutOfMemory;
            default: return StartFailure::Invalid;
        }
    }
    const UniqueHandle thread(pi.hThread);  // never used: closed on return
    // Held until the wait has opened its own handle, so that the id cannot
    // pass to another process meanwhile.
    process.handle = pi.hProcess;
    process.id = pi.dwProcessId;
    return StartFailure::None;
}

void waitFor(Process& process) {
    const UniqueHandle h(OpenProcess(SYNCHRONIZE, FALSE, process.id));
    // The process's own handle kept the id from being reused until now.
    UniqueHandle(static_cast<HANDLE>(process.handle)).reset();  // closed here, before the wait
    process.handle = nullptr;
    if (!h) return;
    WaitForSingleObject(h.get(), INFINITE);
}

}  // namespace qx::launch::sys

#pragma once
// The Windows test binary doubles as the child process of the multi-process
// tests: started again with arguments, it plays a role and exits before the
// test framework starts (see the *ChildRole objects of the test files).
#include <windows.h>

#include <string>

namespace qxtest {

// Starts this test binary again with `arguments`; hProcess is null on failure.
inline PROCESS_INFORMATION startSelf(const std::string& arguments) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string cmd = "\"" + std::string(exe) + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) pi.hProcess = nullptr;
    return pi;
}

// Waits for the child to end, closes its handles and returns its exit code.
inline DWORD waitForChild(PROCESS_INFORMATION& pi) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

}  // namespace qxtest

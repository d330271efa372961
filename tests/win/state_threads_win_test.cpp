// Host threads that use the registered server and end: each thread enters an
// apartment, creates the library object, uses the per-thread state, releases
// the object and leaves the apartment. The threads must end, and so must the
// process. The program runs that host as a child of itself and fails (instead
// of hanging) when the child does not end in time.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace {

constexpr DWORD kThreadLimitMs = 30000;
constexpr DWORD kChildLimitMs = 60000;

// Exit codes of the child, so that the parent can tell the failures apart.
enum ChildExit : DWORD { kOk = 0, kThreadsHung = 3, kMemberFailed = 4 };

// One host thread's work: creating the library object gives the thread its
// own library state, which must go when the thread ends.
DWORD WINAPI hostThread(void*) {
    DWORD code = kMemberFailed;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return code;
    CLSID clsid;
    IDispatch* lib = nullptr;
    if (SUCCEEDED(CLSIDFromProgID(L"QXGenRtns.clsQXGenRtns", &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&lib)))) {
        code = kOk;
        lib->Release();
    }
    CoUninitialize();
    return code;
}

// Runs `count` host threads at once and gives the first failure.
DWORD runThreads(int count) {
    std::vector<HANDLE> threads;
    for (int i = 0; i < count; ++i) threads.push_back(CreateThread(nullptr, 0, hostThread, nullptr, 0, nullptr));
    DWORD result = kOk;
    if (WaitForMultipleObjects(static_cast<DWORD>(count), threads.data(), TRUE, kThreadLimitMs) != WAIT_OBJECT_0)
        result = kThreadsHung;
    for (HANDLE h : threads) {
        DWORD code = kMemberFailed;
        if (result == kOk && GetExitCodeThread(h, &code) && code != kOk) result = code;
        CloseHandle(h);
    }
    return result;
}

// Started with "--qx-host-threads", the binary is the host: one thread at a
// time (the server is loaded and unloaded each time), then several at once,
// then the process ends through ExitProcess with the server unloaded.
struct HostRole {
    HostRole() {
        if (std::wstring(GetCommandLineW()).find(L"--qx-host-threads") == std::wstring::npos) return;
        DWORD result = kOk;
        for (int i = 0; i < 3 && result == kOk; ++i) result = runThreads(1);
        if (result == kOk) result = runThreads(4);
        ExitProcess(result);
    }
} g_hostRole;

TEST(HostThreads, EndAndLetTheProcessEnd) {
    PROCESS_INFORMATION pi = qxtest::startSelf("--qx-host-threads");
    ASSERT_NE(pi.hProcess, nullptr);
    const bool ended = WaitForSingleObject(pi.hProcess, kChildLimitMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(pi.hProcess, 99);
    const DWORD code = qxtest::waitForChild(pi);
    ASSERT_TRUE(ended) << "the host process did not end: a thread or the process exit hung";
    EXPECT_EQ(code, static_cast<DWORD>(kOk))
        << kThreadsHung << ": a host thread did not end; " << kMemberFailed << ": one could not use the server";
}

}  // namespace

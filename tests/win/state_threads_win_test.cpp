// Host threads that create the registered server's object (which gives each
// thread its library state) and end: the threads must end, and so must the
// process, which runs as a child of the test with a time limit.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace {

DWORD WINAPI hostThread(void*) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    CLSID clsid;
    IDispatch* lib = nullptr;
    const bool created =
        SUCCEEDED(CLSIDFromProgID(L"QXGenRtns.clsQXGenRtns", &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&lib)));
    if (created) lib->Release();
    CoUninitialize();
    return created ? 0 : 1;
}

// Started with "--qx-host-threads", the binary is the host: one thread at a time, then four at once, then
// ExitProcess. The exit code counts the threads that could not use the server.
struct HostRole {
    HostRole() {
        if (std::wstring(GetCommandLineW()).find(L"--qx-host-threads") == std::wstring::npos) return;
        UINT failed = 0;
        for (const int count : {1, 1, 1, 4}) {
            std::vector<HANDLE> threads;
            for (int i = 0; i < count; ++i) threads.push_back(CreateThread(nullptr, 0, hostThread, nullptr, 0, nullptr));
            WaitForMultipleObjects(static_cast<DWORD>(count), threads.data(), TRUE, INFINITE);
            for (HANDLE h : threads) {
                DWORD code = 1;
                GetExitCodeThread(h, &code);
                failed += code;
                CloseHandle(h);
            }
        }
        ExitProcess(failed);
    }
} g_hostRole;

TEST(HostThreads, EndAndLetTheProcessEnd) {
    PROCESS_INFORMATION pi = qxtest::startSelf("--qx-host-threads");
    ASSERT_NE(pi.hProcess, nullptr);
    const bool ended = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(pi.hProcess, 99);
    const DWORD failed = qxtest::waitForChild(pi);
    ASSERT_TRUE(ended) << "the host process did not end: a thread or the process exit hung";
    EXPECT_EQ(failed, 0u) << "host threads that could not use the server";
}

}  // namespace

// Host threads that use the registered server and end: each thread enters an
// apartment, creates the library object, uses the per-thread state, releases
// the object and leaves the apartment. The threads must end, and so must the
// process. The program runs that host as a child of itself and fails (instead
// of hanging) when the child does not end in time.
#include <gtest/gtest.h>
#include <windows.h>

#include <oaidl.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace {

constexpr DWORD kThreadLimitMs = 30000;
constexpr DWORD kChildLimitMs = 60000;

// Exit codes of the child, so that the parent can tell the failures apart.
enum ChildExit : DWORD { kOk = 0, kThreadsHung = 3, kMemberFailed = 4 };

// Reads the VersionType property into `value`, or with `put` sets it to `value`.
bool versionType(IDispatch* d, short& value, bool put) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"VersionType")};
    if (FAILED(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_I2;
    V_I2(&arg) = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS dp{put ? &arg : nullptr, put ? &named : nullptr, put ? 1u : 0u, put ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    const WORD flags = put ? DISPATCH_PROPERTYPUT : DISPATCH_PROPERTYGET;
    if (FAILED(d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, put ? nullptr : &result, nullptr, nullptr)))
        return false;
    if (!put) value = V_I2(&result);
    return true;
}

// One host thread's work: a thread's state starts empty, and what it stores
// there reads back.
DWORD WINAPI hostThread(void* param) {
    short type = static_cast<short>(reinterpret_cast<INT_PTR>(param));
    DWORD code = kMemberFailed;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return code;
    CLSID clsid;
    IDispatch* lib = nullptr;
    if (SUCCEEDED(CLSIDFromProgID(L"QXGenRtns.clsQXGenRtns", &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&lib)))) {
        short before = -1;
        short after = -1;
        if (versionType(lib, before, false) && before == 0 && versionType(lib, type, true) &&
            versionType(lib, after, false) && after == type)
            code = kOk;
        lib->Release();
    }
    CoUninitialize();
    return code;
}

// Runs `count` host threads at once and gives the first failure.
DWORD runThreads(int count, int firstType) {
    std::vector<HANDLE> threads;
    for (int i = 0; i < count; ++i) {
        HANDLE h = CreateThread(nullptr, 0, hostThread, reinterpret_cast<void*>(static_cast<INT_PTR>(firstType + i)), 0,
                                nullptr);
        if (h) threads.push_back(h);
    }
    DWORD result = threads.size() == static_cast<std::size_t>(count) ? kOk : kMemberFailed;
    if (WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, kThreadLimitMs) ==
        WAIT_TIMEOUT)
        result = kThreadsHung;
    for (HANDLE h : threads) {
        DWORD code = kThreadsHung;
        GetExitCodeThread(h, &code);
        if (result == kOk && code != kOk) result = code == STILL_ACTIVE ? kThreadsHung : code;
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
        for (int i = 0; i < 3 && result == kOk; ++i) result = runThreads(1, 10 + i);
        if (result == kOk) result = runThreads(4, 20);
        ExitProcess(result);
    }
} g_hostRole;

TEST(HostThreads, EndAndLetTheProcessEnd) {
    PROCESS_INFORMATION pi = qxtest::startSelf("--qx-host-threads");
    ASSERT_NE(pi.hProcess, nullptr);
    if (WaitForSingleObject(pi.hProcess, kChildLimitMs) == WAIT_TIMEOUT) {
        TerminateProcess(pi.hProcess, 99);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        FAIL() << "the host process did not end: a thread or the process exit hung";
    }
    EXPECT_EQ(qxtest::waitForChild(pi), static_cast<DWORD>(kOk))
        << kThreadsHung << ": a host thread did not end; " << kMemberFailed << ": one could not use the server";
}

}  // namespace

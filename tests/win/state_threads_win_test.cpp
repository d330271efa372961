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

HRESULT invoke(IDispatch* d, const wchar_t* name, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS dp{args, nullptr, count, 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        dp.rgdispidNamedArgs = &put;
        dp.cNamedArgs = 1;
    }
    return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, nullptr, nullptr);
}

// One host thread's work: what it stored in its state must read back, and a
// thread's state starts empty.
DWORD WINAPI hostThread(void* param) {
    const short type = static_cast<short>(reinterpret_cast<INT_PTR>(param));
    DWORD code = kMemberFailed;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return code;
    CLSID clsid;
    IDispatch* lib = nullptr;
    if (SUCCEEDED(CLSIDFromProgID(L"QXGenRtns.clsQXGenRtns", &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&lib)))) {
        VARIANT before;
        VariantInit(&before);
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_I2;
        V_I2(&v) = type;
        VARIANT after;
        VariantInit(&after);
        // GetIniString(Section, iniKey, iniStr, IniFile) of a file that is not there: the default.
        VARIANT ini[4];
        const wchar_t* texts[] = {L"C:\\qx-no-such-folder\\none.ini", L"default", L"Key", L"Section"};
        for (int i = 0; i < 4; ++i) {
            VariantInit(&ini[i]);
            V_VT(&ini[i]) = VT_BSTR;
            V_BSTR(&ini[i]) = SysAllocString(texts[i]);
        }
        VARIANT text;
        VariantInit(&text);
        if (SUCCEEDED(invoke(lib, L"VersionType", DISPATCH_PROPERTYGET, nullptr, 0, &before)) && V_I2(&before) == 0 &&
            SUCCEEDED(invoke(lib, L"VersionType", DISPATCH_PROPERTYPUT, &v, 1, nullptr)) &&
            SUCCEEDED(invoke(lib, L"VersionType", DISPATCH_PROPERTYGET, nullptr, 0, &after)) && V_I2(&after) == type &&
            SUCCEEDED(invoke(lib, L"GetIniString", DISPATCH_METHOD, ini, 4, &text)) && V_VT(&text) == VT_BSTR &&
            std::wstring(V_BSTR(&text)) == L"default")
            code = kOk;
        VariantClear(&text);
        for (VARIANT& a : ini) VariantClear(&a);
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
    const DWORD code = qxtest::waitForChild(pi);
    EXPECT_NE(code, static_cast<DWORD>(kThreadsHung)) << "a host thread did not end";
    EXPECT_NE(code, static_cast<DWORD>(kMemberFailed)) << "a host thread could not use the server";
    EXPECT_EQ(code, static_cast<DWORD>(kOk));
}

}  // namespace

// The in-process server: DllMain, the class factory, and registration of the
// classes, ProgIDs, interfaces and type library, for the machine or, through
// DllInstall with "user", for the current user alone.
#include <windows.h>
#include <olectl.h>

#include <new>
#include <string>
#include <vector>

#include "com/classes.h"
#include "com/com_support.h"

using qx::com::ClassEntry;

namespace {

class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(const ClassEntry& entry) : entry_(entry) { ++qx::com::g_liveObjects; }
    virtual ~ClassFactory() { --qx::com::g_liveObjects; }
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (ppv) *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return entry_.create(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) ++qx::com::g_serverLocks;
        else --qx::com::g_serverLocks;
        return S_OK;
    }

private:
    const ClassEntry& entry_;
    LONG refs_ = 1;
};

std::wstring guidText(REFGUID g) {
    wchar_t buf[64];
    StringFromGUID2(g, buf, 64);
    return buf;
}

const wchar_t* const kLibraryName = L"QXGenRtns";
const wchar_t* const kLibraryHelp = L"QX General Routines";
const wchar_t* const kVersion = L"5.0";
const wchar_t* const kDispatchProxy = L"{00020424-0000-0000-C000-000000000046}";
#ifdef _WIN64
const wchar_t* const kPlatform = L"win64";
#else
const wchar_t* const kPlatform = L"win32";
#endif

std::wstring libId() {
    TLIBATTR* attr = nullptr;
    ITypeLib* lib = qx::com::typeLib();
    qx::com::throwIfFailed(lib->GetLibAttr(&attr));
    const std::wstring id = guidText(attr->guid);
    lib->ReleaseTLibAttr(attr);
    return id;
}

// The registry tree one registration writes, below a classes root.
struct Entry {
    std::wstring key;
    std::wstring name;  // empty: the default value
    std::wstring value;
};

std::vector<Entry> entries() {
    const std::wstring dll = qx::com::modulePath();
    const std::wstring folder = dll.substr(0, dll.find_last_of(L'\\'));
    const std::wstring lib = libId();
    std::vector<Entry> out;
    std::size_t count = 0;
    const ClassEntry* classes = qx::com::classTable(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ClassEntry& c = classes[i];
        const std::wstring progId = std::wstring(kLibraryName) + L"." + c.name;
        const std::wstring clsid = L"CLSID\\" + guidText(*c.clsid);
        out.push_back({clsid, L"", progId});
        out.push_back({clsid + L"\\InprocServer32", L"", dll});
        out.push_back({clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"});
        out.push_back({clsid + L"\\ProgID", L"", progId});
        out.push_back({clsid + L"\\TypeLib", L"", lib});
        out.push_back({clsid + L"\\VERSION", L"", kVersion});
        out.push_back({progId, L"", progId});
        out.push_back({progId + L"\\CLSID", L"", guidText(*c.clsid)});
        const std::wstring itf = L"Interface\\" + guidText(*c.iid);
        out.push_back({itf, L"", std::wstring(L"_") + c.name});
        out.push_back({itf + L"\\ProxyStubClsid", L"", kDispatchProxy});
        out.push_back({itf + L"\\ProxyStubClsid32", L"", kDispatchProxy});
        out.push_back({itf + L"\\TypeLib", L"", lib});
        out.push_back({itf + L"\\TypeLib", L"Version", kVersion});
    }
    const std::wstring tl = L"TypeLib\\" + lib + L"\\" + kVersion;
    out.push_back({tl, L"", kLibraryHelp});
    out.push_back({tl + L"\\FLAGS", L"", L"0"});
    out.push_back({tl + L"\\HELPDIR", L"", folder});
    out.push_back({tl + L"\\409\\" + kPlatform, L"", dll});
    return out;
}

// The keys that belong to this library alone, removed whole on unregistering.
std::vector<std::wstring> ownedKeys() {
    std::vector<std::wstring> out;
    std::size_t count = 0;
    const ClassEntry* classes = qx::com::classTable(count);
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(L"CLSID\\" + guidText(*classes[i].clsid));
        out.push_back(std::wstring(kLibraryName) + L"." + classes[i].name);
        out.push_back(L"Interface\\" + guidText(*classes[i].iid));
    }
    return out;
}

HKEY hiveOf(bool perUser) { return perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

HKEY openRoot(bool perUser, HKEY& root) {
    if (RegCreateKeyExW(hiveOf(perUser), L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                        nullptr) != ERROR_SUCCESS)
        root = nullptr;
    return root;
}

LONG deleteTree(HKEY root, const std::wstring& key) {
    const LONG rc = RegDeleteTreeW(root, key.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(root, key.c_str());
        return ERROR_SUCCESS;
    }
    return rc;
}

// Removes `key` and then each parent down to `stop` (exclusive) while it is left empty.
void deleteIfEmpty(HKEY root, std::wstring key, const std::wstring& stop) {
    while (key.size() > stop.size() && !key.empty()) {
        HKEY k = nullptr;
        if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return;
        DWORD subkeys = 0;
        DWORD values = 0;
        RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                         nullptr);
        RegCloseKey(k);
        if (subkeys != 0 || values != 0) return;
        RegDeleteKeyW(root, key.c_str());
        const std::size_t cut = key.find_last_of(L'\\');
        if (cut == std::wstring::npos) return;
        key.resize(cut);
    }
}

HRESULT unregisterAt(bool perUser) {
    HKEY root = nullptr;
    if (RegOpenKeyExW(hiveOf(perUser), L"Software\\Classes", 0, KEY_ALL_ACCESS, &root) != ERROR_SUCCESS)
        return S_OK;  // nothing was registered there
    try {
        for (const std::wstring& key : ownedKeys()) deleteTree(root, key);
        const std::wstring tl = L"TypeLib\\" + libId();
        const std::wstring version = tl + L"\\" + kVersion;
        deleteTree(root, version + L"\\409\\" + kPlatform);
        // The version key is shared by the 32-bit and 64-bit builds: it goes
        // only when no other platform is registered below it.
        HKEY k = nullptr;
        bool others = false;
        if (RegOpenKeyExW(root, (version + L"\\409").c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS) {
            DWORD subkeys = 0;
            RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr);
            RegCloseKey(k);
            others = subkeys != 0;
        }
        if (!others) {
            deleteTree(root, version);
            deleteIfEmpty(root, tl, L"TypeLib");
        }
        // Registering created these parents where they were missing (a user's
        // classes root often is): they go again when nothing else is in them.
        for (const wchar_t* parent : {L"CLSID", L"Interface", L"TypeLib"}) deleteIfEmpty(root, parent, L"");
    } catch (const qx::com::HResultError& e) {
        RegCloseKey(root);
        return e.hr;
    }
    RegCloseKey(root);
    if (perUser) deleteIfEmpty(HKEY_CURRENT_USER, L"Software\\Classes", L"Software");
    return S_OK;
}

HRESULT registerAt(bool perUser) {
    HKEY root = nullptr;
    if (!openRoot(perUser, root)) return SELFREG_E_CLASS;
    HRESULT hr = S_OK;
    try {
        for (const Entry& e : entries()) {
            HKEY k = nullptr;
            if (RegCreateKeyExW(root, e.key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS) {
                hr = SELFREG_E_CLASS;
                break;
            }
            const LONG rc = RegSetValueExW(k, e.name.empty() ? nullptr : e.name.c_str(), 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(e.value.c_str()),
                                           static_cast<DWORD>((e.value.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(k);
            if (rc != ERROR_SUCCESS) {
                hr = SELFREG_E_CLASS;
                break;
            }
        }
    } catch (const qx::com::HResultError& e) {
        hr = e.hr;
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    RegCloseKey(root);
    // Nothing is left half-registered.
    if (FAILED(hr)) unregisterAt(perUser);
    return hr;
}

// Keeps the DLL loaded until the process ends, from the moment it first hands
// out an object. The library keeps per-thread data in thread_local objects
// with destructors (the state record, the INI caches). For those the C++
// runtime takes a reference on this module when a thread first uses one and
// drops it from the thread-exit callback, after the destructors have run.
// When a host thread leaves its apartment, COM frees the server, so that
// dropped reference is the last one: the DLL would be unloaded from inside
// the loader's thread-detach processing, and the thread, then ExitProcess,
// wait forever. Pinned, the module is never unloaded on that path, and every
// thread's data is still destroyed when the thread ends, for each
// thread_local of the library and not only those known today. Freeing the
// state from DLL_THREAD_DETACH instead would cover only the records this
// file knows of and still run their destructors under the loader lock.
void pinModule() {
    static const bool pinned = [] {
        HMODULE self = nullptr;
        return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                  reinterpret_cast<LPCWSTR>(&pinModule), &self) != FALSE;
    }();
    (void)pinned;
}

// The last guard of the registration entry points: nothing thrown (out of
// memory building the entries) reaches regsvr32.
template <typename F>
HRESULT noThrow(F&& body) noexcept {
    try {
        return body();
    } catch (const qx::com::HResultError& e) {
        return e.hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        qx::com::g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved != nullptr) {
        // The process is ending: the objects that host references point at may be gone already.
        qx::com::g_processEnding = true;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    std::size_t count = 0;
    const ClassEntry* classes = qx::com::classTable(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (IsEqualCLSID(rclsid, *classes[i].clsid)) {
            pinModule();
            auto* factory = new (std::nothrow) ClassFactory(classes[i]);
            if (!factory) return E_OUTOFMEMORY;
            const HRESULT hr = factory->QueryInterface(riid, ppv);
            factory->Release();
            return hr;
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    return qx::com::g_liveObjects == 0 && qx::com::g_serverLocks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() { return noThrow([] { return registerAt(false); }); }

STDAPI DllUnregisterServer() { return noThrow([] { return unregisterAt(false); }); }

// regsvr32 /i:user registers for the current user alone, without administrator rights.
STDAPI DllInstall(BOOL install, LPCWSTR cmdLine) {
    const bool perUser = cmdLine && _wcsicmp(cmdLine, L"user") == 0;
    if (cmdLine && *cmdLine && !perUser) return E_INVALIDARG;
    return noThrow([&] { return install ? registerAt(perUser) : unregisterAt(perUser); });
}

}  // extern "C"

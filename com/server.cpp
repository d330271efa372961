// The in-process server: DllMain, the class factory, and registration of the
// classes, ProgIDs, interfaces and type library, for the machine or, through
// DllInstall with "user", for the current user alone.
#include <windows.h>
#include <olectl.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "com/classes.h"
#include "com/com_support.h"
#include "core/scoped_win.h"

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

const wchar_t* const kDispatchProxy = L"{00020424-0000-0000-C000-000000000046}";
#ifdef _WIN64
const wchar_t* const kPlatform = L"win64";
#else
const wchar_t* const kPlatform = L"win32";
#endif

// What the type library says of itself: its id, name, help text, version and locale.
struct Library {
    std::wstring id;
    std::wstring name;
    std::wstring help;
    std::wstring version;  // "major.minor", in hex as the registry spells type library versions
    std::wstring locale;   // the locale id in hex
};

std::wstring hex(unsigned value) {
    std::wstring out;
    do {
        out.insert(out.begin(), L"0123456789abcdef"[value % 16]);
        value /= 16;
    } while (value != 0);
    return out;
}

Library library() {
    ITypeLib* lib = qx::com::typeLib();
    TLIBATTR* attr = nullptr;
    qx::com::throwIfFailed(lib->GetLibAttr(&attr));
    Library out;
    out.id = guidText(attr->guid);
    out.version = hex(attr->wMajorVerNum) + L"." + hex(attr->wMinorVerNum);
    out.locale = hex(attr->lcid);
    lib->ReleaseTLibAttr(attr);
    BSTR name = nullptr;
    BSTR help = nullptr;
    qx::com::throwIfFailed(lib->GetDocumentation(-1, &name, &help, nullptr, nullptr));
    out.name.assign(name ? name : L"", name ? SysStringLen(name) : 0);
    out.help.assign(help ? help : L"", help ? SysStringLen(help) : 0);
    SysFreeString(name);
    SysFreeString(help);
    return out;
}

// The classes this server registers: those of the type library it can create.
std::vector<qx::com::CoClass> creatableClasses() {
    std::vector<qx::com::CoClass> out;
    for (qx::com::CoClass& c : qx::com::coClasses())
        if (c.entry) out.push_back(std::move(c));
    return out;
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
    const Library lib = library();
    std::vector<Entry> out;
    for (const qx::com::CoClass& c : creatableClasses()) {
        const std::wstring progId = lib.name + L"." + c.name;
        const std::wstring clsid = L"CLSID\\" + guidText(c.clsid);
        out.push_back({clsid, L"", progId});
        out.push_back({clsid + L"\\InprocServer32", L"", dll});
        out.push_back({clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"});
        out.push_back({clsid + L"\\ProgID", L"", progId});
        out.push_back({clsid + L"\\TypeLib", L"", lib.id});
        out.push_back({clsid + L"\\VERSION", L"", lib.version});
        out.push_back({progId, L"", progId});
        out.push_back({progId + L"\\CLSID", L"", guidText(c.clsid)});
        const std::wstring itf = L"Interface\\" + guidText(c.iid);
        out.push_back({itf, L"", c.interfaceName});
        out.push_back({itf + L"\\ProxyStubClsid", L"", kDispatchProxy});
        out.push_back({itf + L"\\ProxyStubClsid32", L"", kDispatchProxy});
        out.push_back({itf + L"\\TypeLib", L"", lib.id});
        out.push_back({itf + L"\\TypeLib", L"Version", lib.version});
    }
    const std::wstring tl = L"TypeLib\\" + lib.id + L"\\" + lib.version;
    out.push_back({tl, L"", lib.help});
    out.push_back({tl + L"\\FLAGS", L"", L"0"});
    out.push_back({tl + L"\\HELPDIR", L"", folder});
    out.push_back({tl + L"\\" + lib.locale + L"\\" + kPlatform, L"", dll});
    return out;
}

// The keys that belong to this library alone, removed whole on unregistering.
std::vector<std::wstring> ownedKeys(const Library& lib) {
    std::vector<std::wstring> out;
    for (const qx::com::CoClass& c : creatableClasses()) {
        out.push_back(L"CLSID\\" + guidText(c.clsid));
        out.push_back(lib.name + L"." + c.name);
        out.push_back(L"Interface\\" + guidText(c.iid));
    }
    return out;
}

HKEY hiveOf(bool perUser) { return perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

LONG deleteTree(HKEY root, const std::wstring& key) {
    const LONG rc = RegDeleteTreeW(root, key.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(root, key.c_str());
        return ERROR_SUCCESS;
    }
    return rc;
}

// How many subkeys and values `key` holds; false when it cannot be opened.
bool keyContents(HKEY root, const std::wstring& key, DWORD& subkeys, DWORD& values) {
    qx::UniqueKey k;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS) {
        k.release();  // a failed open owns nothing
        return false;
    }
    subkeys = 0;
    values = 0;
    RegQueryInfoKeyW(k.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    return true;
}

// Removes `key` and then each parent down to `stop` (exclusive) while it is left empty.
void deleteIfEmpty(HKEY root, std::wstring key, const std::wstring& stop) {
    while (key.size() > stop.size() && !key.empty()) {
        DWORD subkeys = 0;
        DWORD values = 0;
        if (!keyContents(root, key, subkeys, values)) return;
        if (subkeys != 0 || values != 0) return;
        RegDeleteKeyW(root, key.c_str());
        const std::size_t cut = key.find_last_of(L'\\');
        if (cut == std::wstring::npos) return;
        key.resize(cut);
    }
}

HRESULT unregisterAt(bool perUser) {
    qx::UniqueKey root;
    // Deleting a tree below the root needs its subkeys listed and its values read and cleared.
    if (RegOpenKeyExW(hiveOf(perUser), L"Software\\Classes", 0, KEY_READ | KEY_SET_VALUE | DELETE, root.put()) !=
        ERROR_SUCCESS) {
        root.release();
        return S_OK;  // nothing was registered there
    }
    try {
        const Library lib = library();
        for (const std::wstring& key : ownedKeys(lib)) deleteTree(root.get(), key);
        const std::wstring tl = L"TypeLib\\" + lib.id;
        const std::wstring version = tl + L"\\" + lib.version;
        deleteTree(root.get(), version + L"\\" + lib.locale + L"\\" + kPlatform);
        // The version key is shared by the 32-bit and 64-bit builds: it goes
        // only when no other platform is registered below it.
        DWORD subkeys = 0;
        DWORD values = 0;
        const bool others = keyContents(root.get(), version + L"\\" + lib.locale, subkeys, values) && subkeys != 0;
        if (!others) {
            deleteTree(root.get(), version);
            deleteIfEmpty(root.get(), tl, L"TypeLib");
        }
        // Registering created these parents where they were missing (a user's
        // classes root often is): they go again when nothing else is in them.
        for (const wchar_t* parent : {L"CLSID", L"Interface", L"TypeLib"}) deleteIfEmpty(root.get(), parent, L"");
    } catch (const qx::com::HResultError& e) {
        return e.hr;
    }
    root.reset();
    if (perUser) deleteIfEmpty(HKEY_CURRENT_USER, L"Software\\Classes", L"Software");
    return S_OK;
}

HRESULT registerAt(bool perUser) {
    HRESULT hr = S_OK;
    {
        qx::UniqueKey root;
        if (RegCreateKeyExW(hiveOf(perUser), L"Software\\Classes", 0, nullptr, 0, KEY_CREATE_SUB_KEY, nullptr,
                            root.put(), nullptr) != ERROR_SUCCESS) {
            root.release();
            return SELFREG_E_CLASS;
        }
        try {
            for (const Entry& e : entries()) {
                qx::UniqueKey k;
                if (RegCreateKeyExW(root.get(), e.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.put(),
                                    nullptr) != ERROR_SUCCESS) {
                    k.release();
                    hr = SELFREG_E_CLASS;
                    break;
                }
                const LONG rc = RegSetValueExW(k.get(), e.name.empty() ? nullptr : e.name.c_str(), 0, REG_SZ,
                                               reinterpret_cast<const BYTE*>(e.value.c_str()),
                                               static_cast<DWORD>((e.value.size() + 1) * sizeof(wchar_t)));
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
    }
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
    return noThrow([&] {
        for (const qx::com::CoClass& c : qx::com::coClasses()) {
            if (!c.entry || !IsEqualCLSID(rclsid, c.clsid)) continue;
            pinModule();
            auto* factory = new (std::nothrow) ClassFactory(*c.entry);
            if (!factory) return E_OUTOFMEMORY;
            const HRESULT hr = factory->QueryInterface(riid, ppv);
            factory->Release();
            return hr;
        }
        return CLASS_E_CLASSNOTAVAILABLE;
    });
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

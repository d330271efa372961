// Windows: the registry functions of advapi32 (ANSI forms). A handle crosses
// the interface as a 32-bit value, sign-extended back, which keeps the
// predefined roots (0x80000000...) and the system's key handles intact.
#include <windows.h>

#include <vector>

#include "registry/registry_sys.h"

namespace qx::reg::sys {

namespace {
HKEY hkey(Handle h) { return reinterpret_cast<HKEY>(static_cast<INT_PTR>(h)); }
Handle handle(HKEY k) { return static_cast<Handle>(reinterpret_cast<INT_PTR>(k)); }
const char* orNull(const std::string& s) { return s.c_str(); }
}  // namespace

long openKeyEx(Handle root, const std::string& subKey, std::uint32_t access, Handle& out) {
    HKEY k = nullptr;
    const LONG rc = RegOpenKeyExA(hkey(root), orNull(subKey), 0, access, &k);
    out = rc == ERROR_SUCCESS ? handle(k) : 0;
    return rc;
}

long openKey(Handle root, const std::string& subKey, Handle& out) {
    HKEY k = nullptr;
    const LONG rc = RegOpenKeyA(hkey(root), orNull(subKey), &k);
    out = rc == ERROR_SUCCESS ? handle(k) : 0;
    return rc;
}

long createKeyEx(Handle root, const std::string& subKey, std::uint32_t access, Handle& out) {
    HKEY k = nullptr;
    DWORD disposition = 0;
    char noClass[] = "";
    const LONG rc = RegCreateKeyExA(hkey(root), subKey.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, access, nullptr,
                                    &k, &disposition);
    out = rc == ERROR_SUCCESS ? handle(k) : 0;
    return rc;
}

long queryValue(Handle key, const std::string& name, std::uint32_t* type, unsigned char* data, std::uint32_t* size) {
    DWORD t = 0;
    DWORD n = size ? *size : 0;
    const LONG rc = RegQueryValueExA(hkey(key), name.c_str(), nullptr, &t, data, &n);
    if (type) *type = t;
    if (size) *size = n;
    return rc;
}

long setValue(Handle key, const std::string& name, std::uint32_t type, const unsigned char* data, std::uint32_t size) {
    return RegSetValueExA(hkey(key), name.c_str(), 0, type, data, size);
}

long deleteKey(Handle key, const std::string& subKey) { return RegDeleteKeyA(hkey(key), subKey.c_str()); }

long deleteValue(Handle key, const std::string& name) { return RegDeleteValueA(hkey(key), name.c_str()); }

long closeKey(Handle key) { return RegCloseKey(hkey(key)); }

std::string expandEnvironment(const std::string& text) {
    const DWORD m = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (m == 0) return std::string();
    std::vector<char> buffer(m + 1, '\0');
    ExpandEnvironmentStringsA(text.c_str(), buffer.data(), m);
    return std::string(buffer.data(), m - 1).substr(0, std::string(buffer.data(), m - 1).find('\0'));
}

std::uint32_t registryPlatform() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExA(&info) != 1) return 0xFFFFFFFFu;
#pragma GCC diagnostic pop
    return info.dwPlatformId;
}

}  // namespace qx::reg::sys

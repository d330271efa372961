// Windows: the ANSI version structure, the user name and the security token
// of the calling thread (or of the process when the thread has none).
#include <windows.h>

#include <vector>

#include "core/scoped_win.h"
#include "sysinfo/osinfo_sys.h"

namespace qx::sysinfo::sys {

namespace {
struct SidOwner {
    PSID sid = nullptr;
    ~SidOwner() {
        if (sid) FreeSid(sid);
    }
};
}  // namespace

OSVersionDetails osVersionDetails() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
    VersionReport r;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    r.ok = GetVersionExA(&info) == 1;
#pragma GCC diagnostic pop
    r.major = info.dwMajorVersion;
    r.minor = info.dwMinorVersion;
    r.build = info.dwBuildNumber;
    r.platform = info.dwPlatformId;
    r.servicePack.assign(info.szCSDVersion, sizeof info.szCSDVersion);
    return versionDetails(r);
}

std::string userName() {
    char buffer[25] = {};
    DWORD size = sizeof buffer;
    if (GetUserNameA(buffer, &size) == 0) return std::string();
    buffer[sizeof buffer - 1] = '\0';
    return std::string(buffer);
}

bool currentUserIsAdmin() {
    UniqueHandle token;
    // The thread's own token first, opened against the process's security context.
    // A failed open owns nothing, whatever it left in the handle: it is dropped unclosed.
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) {
        token.release();
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
            token.release();
            return false;
        }
    }
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<unsigned char> buffer(size);
    if (GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size) != 1) return false;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    SidOwner admins;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &admins.sid)) {
        admins.sid = nullptr;
        return false;
    }
    if (!IsValidSid(admins.sid)) return false;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    std::vector<bool> matches(groups->GroupCount);
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        PSID s = groups->Groups[i].Sid;
        matches[i] = IsValidSid(s) && EqualSid(s, admins.sid);
    }
    return administratorsAmong(matches);
}

}  // namespace qx::sysinfo::sys

#pragma once
// The machine and its user: a one-line description of the operating system,
// the name of the logged-on user, and whether that user is an administrator.
// The tables and the text building are here; the system queries are in
// osinfo_win.cpp / osinfo_posix.cpp.
#include <cstdint>
#include <string>
#include <vector>

#include "core/qxstring.h"

namespace qx::sysinfo {

// What the system's version query reports.
struct VersionReport {
    bool ok = false;             // the query succeeded
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platform = 0;  // 0 Win32s, 1 the 95 family, 2 the NT family
    std::string servicePack;     // the raw 128-byte text, NUL-padded
};

// The pieces of the version text; all "" when the query failed.
struct OSVersionDetails {
    String Name;
    String Version;
    String ServicePack;
    String Build;
};

// The product name for a platform and version ("" for an unknown platform).
String osName(std::uint32_t platform, std::uint32_t major, std::uint32_t minor);
// The details a version report yields.
OSVersionDetails versionDetails(const VersionReport& report);
// Name & " " & Version & " build " & Build & " (" & ServicePack & ")".
String formatOSVersion(const OSVersionDetails& d);

// The user name as a 25-character buffer returns it: "" when the name (with
// its terminating NUL) does not fit.
String userNameFromBuffer(const std::string& narrowName);

// The walk over a token's groups: entry i is true when its identifier is the
// administrators' group. Only the first 101 entries are held; a longer list
// without a match among them raises the subscript error (9).
bool administratorsAmong(const std::vector<bool>& entryMatches);

// POSIX identity: the effective user id and the names of the groups the
// user holds. Root, or a member of "sudo", "wheel" or "admin", administers.
bool isAdministratorIdentity(std::uint32_t effectiveUid, const std::vector<std::string>& groupNames);

// The description of a POSIX system: the distribution's name from the text of
// /etc/os-release (PRETTY_NAME, else NAME, else the kernel's system name), the
// kernel's major.minor as the version, its patch level as the build and its
// whole release text in the parentheses.
OSVersionDetails posixVersionDetails(const std::string& osRelease, const std::string& sysName,
                                     const std::string& kernelRelease);
// The value of one key of an os-release text, unquoted; "" when absent.
std::string osReleaseValue(const std::string& text, const std::string& key);

// The public routines.
String getOSVersion();
String whoAmI();
bool isAdmin();

}  // namespace qx::sysinfo

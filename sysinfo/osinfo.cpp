#include "sysinfo/osinfo.h"

#include "core/error.h"
#include "core/text.h"
#include "sysinfo/osinfo_sys.h"

namespace qx::sysinfo {

namespace {
String decimal(std::uint64_t n) { return fromNarrow(std::to_string(n)); }

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return std::string();
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}
}  // namespace

String osName(std::uint32_t platform, std::uint32_t major, std::uint32_t minor) {
    switch (platform) {
        case 0: return u"Win32s";
        case 1:
            if (minor == 0) return u"Windows 95";
            if (minor == 90) return u"Windows ME";
            return u"Windows 98";
        case 2:
            if (major == 5 && minor == 0) return u"Windows 2000";
            if (major == 5 && minor == 1) return u"Windows XP";
            return u"Windows NT";
        default: return String();
    }
}

OSVersionDetails versionDetails(const VersionReport& r) {
    OSVersionDetails d;
    if (!r.ok) return d;
    d.Name = osName(r.platform, r.major, r.minor);
    d.Version = decimal(r.major) + u"." + decimal(r.minor);
    d.Build = decimal(r.build & 0xFFFFu);
    // The system's text is 128 characters; without a NUL inside them it is not taken.
    const std::string sp = r.servicePack.substr(0, 128);
    const auto nul = sp.find('\0');
    if (nul != std::string::npos) d.ServicePack = fromNarrow(sp.substr(0, nul));
    return d;
}

String formatOSVersion(const OSVersionDetails& d) {
    return d.Name + u" " + d.Version + u" build " + d.Build + u" (" + d.ServicePack + u")";
}

String userNameFromBuffer(const std::string& narrowName) {
    constexpr std::size_t kBuffer = 25;
    if (narrowName.size() + 1 > kBuffer) return String();
    return fromNarrow(narrowName.substr(0, narrowName.find('\0')));
}

bool administratorsAmong(const std::vector<bool>& entryMatches) {
    constexpr std::size_t kTable = 101;
    for (std::size_t i = 0; i < entryMatches.size(); ++i) {
        if (i >= kTable) raise(err::SubscriptOutOfRange);
        if (entryMatches[i]) return true;
    }
    return false;
}

bool isAdministratorIdentity(std::uint32_t effectiveUid, const std::vector<std::string>& groupNames) {
    if (effectiveUid == 0) return true;
    for (const auto& g : groupNames)
        if (g == "sudo" || g == "wheel" || g == "admin") return true;
    return false;
}

std::string osReleaseValue(const std::string& text, const std::string& key) {
    for (const std::string_view piece : splitLines(text)) {
        const std::string line = trimmed(std::string(piece));
        if (line.empty() || line[0] == '#') continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos || trimmed(line.substr(0, eq)) != key) continue;
        std::string v = trimmed(line.substr(eq + 1));
        std::string out;
        // Shell-style quoting: '...' literal, "..." with backslash escapes.
        char quote = 0;
        for (std::size_t i = 0; i < v.size(); ++i) {
            const char c = v[i];
            if (quote == '\'') {
                if (c == '\'') quote = 0; else out += c;
            } else if (c == '\\' && i + 1 < v.size()) {
                out += v[++i];
            } else if (quote == '"') {
                if (c == '"') quote = 0; else out += c;
            } else if (c == '\'' || c == '"') {
                quote = c;
            } else {
                out += c;
            }
        }
        return out;
    }
    return std::string();
}

OSVersionDetails posixVersionDetails(const std::string& osRelease, const std::string& sysName,
                                     const std::string& kernelRelease) {
    OSVersionDetails d;
    if (kernelRelease.empty()) return d;
    std::string name = osReleaseValue(osRelease, "PRETTY_NAME");
    if (name.empty()) name = osReleaseValue(osRelease, "NAME");
    if (name.empty()) name = sysName;
    d.Name = fromNarrow(name);
    // "6.1.0-18-amd64": the leading numbers, as many as there are.
    std::uint64_t parts[3] = {0, 0, 0};
    std::size_t i = 0;
    for (int k = 0; k < 3; ++k) {
        std::uint64_t n = 0;
        bool any = false;
        while (i < kernelRelease.size() && kernelRelease[i] >= '0' && kernelRelease[i] <= '9') {
            if (n < 100000000) n = n * 10 + static_cast<std::uint64_t>(kernelRelease[i] - '0');
            ++i;
            any = true;
        }
        if (!any) break;
        parts[k] = n;
        if (i >= kernelRelease.size() || kernelRelease[i] != '.') break;
        ++i;
    }
    d.Version = decimal(parts[0]) + u"." + decimal(parts[1]);
    d.Build = decimal(parts[2] & 0xFFFFu);
    d.ServicePack = fromNarrow(kernelRelease);
    return d;
}

String getOSVersion() { return formatOSVersion(sys::osVersionDetails()); }

String whoAmI() { return userNameFromBuffer(sys::userName()); }

bool isAdmin() { return sys::currentUserIsAdmin(); }

}  // namespace qx::sysinfo

// POSIX: the kernel from uname and the distribution from /etc/os-release; the
// user from the password database; the groups from the process's
// supplementary group list and the group database.
#include <grp.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "sysinfo/osinfo_sys.h"

namespace qx::sysinfo::sys {

namespace {
std::string readText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::string();
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string groupName(gid_t g) {
    std::vector<char> buf(16384);
    struct group gr {};
    struct group* found = nullptr;
    if (::getgrgid_r(g, &gr, buf.data(), buf.size(), &found) != 0 || !found) return std::string();
    return found->gr_name ? std::string(found->gr_name) : std::string();
}
}  // namespace

OSVersionDetails osVersionDetails() {
    struct utsname u {};
    if (::uname(&u) != 0) return OSVersionDetails();
    std::string release = readText("/etc/os-release");
    if (release.empty()) release = readText("/usr/lib/os-release");
    return posixVersionDetails(release, u.sysname, u.release);
}

std::string userName() {
    std::vector<char> buf(16384);
    struct passwd pw {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found || !found->pw_name)
        return std::string();
    return std::string(found->pw_name);
}

bool currentUserIsAdmin() {
    std::vector<std::string> names;
    names.push_back(groupName(::getegid()));
    const int n = ::getgroups(0, nullptr);
    if (n > 0) {
        std::vector<gid_t> ids(static_cast<std::size_t>(n));
        const int got = ::getgroups(n, ids.data());
        for (int i = 0; i < got; ++i) names.push_back(groupName(ids[static_cast<std::size_t>(i)]));
    }
    return isAdministratorIdentity(static_cast<std::uint32_t>(::geteuid()), names);
}

}  // namespace qx::sysinfo::sys

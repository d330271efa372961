// The special folders on POSIX: the XDG base directories and the user's home
// stand in for the shell's per-user folders, /var/lib for the data shared by
// all users and /opt for the programs' installation folder. The Windows and
// common-files folders have no counterpart and are "".
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/file_errors.h"
#include "core/scoped_posix.h"
#include "files/path_logic.h"
#include "files/paths.h"
#include "sysinfo/special_folders_logic.h"
#include "sysinfo/special_folders_sys.h"

namespace qx::sysinfo::sys {

namespace {
String withoutTrailingSlashes(String s) {
    while (s.size() > 1 && s.back() == u'/') s.pop_back();
    return s;
}

String join(const String& base, StringView rest) {
    if (base.empty()) return String();
    String s = base;
    if (s.back() != u'/') s += u'/';
    s += rest;
    return s;
}

// $HOME, else the home folder of the user in the password database.
String homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return withoutTrailingSlashes(fromNarrow(home));
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        *found->pw_dir) {
        return withoutTrailingSlashes(fromNarrow(found->pw_dir));
    }
    return String();
}

// An XDG base directory: the variable when it holds an absolute path (a
// relative one is to be ignored), else its default below the home folder.
String xdgFolder(const char* variable, StringView underHome) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return withoutTrailingSlashes(fromNarrow(value));
    return join(homeFolder(), underHome);
}

String existingFolder(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode) ? fromNarrow(path) : String();
}
}  // namespace

String specialFolderPath(std::int32_t csidl) {
    switch (csidl) {
        case folder::LocalAppData:
            return xdgFolder("XDG_DATA_HOME", u".local/share");
        case folder::RoamingAppData:
            return xdgFolder("XDG_CONFIG_HOME", u".config");
        case folder::Profile:
            return homeFolder();
        case folder::CommonAppData:
            return existingFolder("/var/lib");
        case folder::ProgramFiles:
            return existingFolder("/opt");
        default:
            return String();  // the Windows folders and the common files
    }
}

String tempPath() {
    const char* value = std::getenv("TMPDIR");
    String path = value && *value ? fromNarrow(value) : String(u"/tmp");
    if (path.back() != u'/') path += u'/';
    // The temporary path is read into a buffer of 100 characters, its NUL
    // included: a longer one does not fit and leaves the buffer empty.
    if (toNarrow(path).size() >= kTempPathChars) return String();
    return path;
}

void createEmptyFile(const String& path) {
    const std::string name = files::systemPath(path, FileOp::Create);
    const UniqueFd fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd) raise(fileErrorFromErrno(errno, FileOp::Create));
}

}  // namespace qx::sysinfo::sys

// The path routines on POSIX: "/" separates folders, there are no short
// names, dot-files are hidden from wildcards, and wildcards are matched by the library with
// the Windows rules because the system's directory listing knows none.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "files/path_logic.h"
#include "files/paths.h"
#include "files/paths_sys.h"
#include "files/wildcard.h"

namespace qx::files {

char16_t separator() { return u'/'; }

namespace {
// A search: the folder to look in ("" is the current folder) and the name or
// pattern of its last component.
struct Search {
    String folder;
    String leaf;
};

Search splitSearch(const String& path) {
    const std::size_t cut = path.rfind(u'/');
    if (cut == String::npos) return {String(), path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

EntryKind kindOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return EntryKind::Other;  // a broken link
    if (S_ISREG(st.st_mode)) return EntryKind::RegularFile;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    return EntryKind::Other;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Calls visit(name, narrow path, wildcard match) for each entry the search
// meets, in the order the system lists them, until visit answers true;
// answers whether it did.
template <typename Visit>
bool search(const String& pattern, Visit&& visit) {
    const Search s = splitSearch(pattern);
    if (s.leaf.empty()) return false;
    const std::string folder = systemPath(s.folder, FileOp::Read);
    if (!hasWildcards(s.leaf)) {
        const std::string path = folder + systemPath(s.leaf, FileOp::Read);
        return exists(path) && visit(s.leaf, path, false);
    }
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return false;
    bool stopped = false;
    while (const dirent* e = ::readdir(dir)) {
        const String name = fromNarrow(e->d_name);
        if (!matchesWildcard(s.leaf, name)) continue;
        if (visit(name, folder + e->d_name, true)) {
            stopped = true;
            break;
        }
    }
    ::closedir(dir);
    return stopped;
}
}  // namespace

namespace sys {

bool shortPathName(const String& path, String& out) {
    // Without 8.3 names the short form of an existing path is the path itself.
    if (!exists(systemPath(path, FileOp::Read))) return false;
    out = path;
    return true;
}

// There is no call that folds or resolves a path: the routines do it as text.
std::optional<String> canonicalBuffer(const String&) { return std::nullopt; }
std::optional<String> fullPathBuffer(const String&) { return std::nullopt; }

String currentFolder() {
    std::vector<char> cwd(4096);
    while (::getcwd(cwd.data(), cwd.size()) == nullptr) {
        if (errno != ERANGE || cwd.size() > (1u << 20)) raise(err::InvalidProcedureCall);
        cwd.resize(cwd.size() * 2);
    }
    return fromNarrow(cwd.data());
}

String firstEntryName(const String& path) {
    String found;
    search(path, [&](const String& name, const std::string&, bool) {
        found = name;
        return true;
    });
    return found;
}

bool anyPlainFile(const String& pattern) {
    return search(pattern, [](const String& name, const std::string& path, bool wildcardMatch) {
        return isPlainFileEntry(posixAttributes(name, kindOf(path), wildcardMatch));
    });
}

void createFolder(const String& path) { (void)::mkdir(systemPath(path, FileOp::Create).c_str(), 0777); }

}  // namespace sys
}  // namespace qx::files

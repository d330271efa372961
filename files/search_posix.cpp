// The directory search on POSIX: readdir, with the wildcard rules of the
// Windows search matched by the library. A folder other than "/" lists "."
// and ".." first, as a Windows folder other than a drive root does. A link
// to a folder is not a folder here, so a search never loops through links.
#include <dirent.h>
#include <sys/stat.h>

#include <optional>
#include <string>

#include "files/path_logic.h"
#include "files/search_sys.h"
#include "files/wildcard.h"

namespace qx::files::sys {

struct DirectorySearch::Impl {
    DIR* dir = nullptr;
    std::string folder;  // narrow, ending in "/" (or "" for the current folder)
    String leaf;
    String name;
    bool folderEntry = false;
    bool valid = false;
    int dots = 0;  // how many of ".", ".." are still to be listed

    ~Impl() {
        if (dir) ::closedir(dir);
    }

    bool folderAt(const std::string& path) const {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    bool advance() {
        while (dots > 0) {
            name = dots == 2 ? u"." : u"..";
            --dots;
            if (matchesWildcard(leaf, name)) {
                folderEntry = true;
                return true;
            }
        }
        while (const dirent* e = ::readdir(dir)) {
            const std::string raw = e->d_name;
            if (raw == "." || raw == "..") continue;
            name = fromNarrow(raw);
            if (!matchesWildcard(leaf, name)) continue;
            if (e->d_type == DT_DIR) folderEntry = true;
            else if (e->d_type == DT_UNKNOWN) folderEntry = folderAt(folder + raw);
            else folderEntry = false;
            return true;
        }
        return false;
    }
};

DirectorySearch::DirectorySearch(const String& pattern) : impl_(std::make_unique<Impl>()) {
    Impl& s = *impl_;
    const std::optional<std::string> system = systemPathIfAny(pattern);
    if (!system) return;
    const std::size_t cut = pattern.rfind(u'/');
    s.leaf = cut == String::npos ? pattern : pattern.substr(cut + 1);
    if (s.leaf.empty()) return;  // a name ending in the separator names no entry
    s.folder = system->substr(0, system->rfind('/') + 1);  // "" when there is no folder part
    if (!hasWildcards(s.leaf)) {
        // One name: the entry itself, without reading the folder.
        struct stat st {};
        const std::string& path = *system;
        if (::lstat(path.c_str(), &st) != 0) return;
        s.name = s.leaf;
        s.folderEntry = S_ISDIR(st.st_mode);
        s.valid = true;
        return;
    }
    s.dir = ::opendir(s.folder.empty() ? "." : s.folder.c_str());
    if (!s.dir) return;
    s.dots = s.folder.find_first_not_of('/') == std::string::npos && !s.folder.empty() ? 0 : 2;
    s.valid = s.advance();
}

DirectorySearch::~DirectorySearch() = default;

bool DirectorySearch::valid() const { return impl_->valid; }
const String& DirectorySearch::name() const { return impl_->name; }
bool DirectorySearch::isFolder() const { return impl_->folderEntry; }

bool DirectorySearch::next() {
    if (!impl_->valid || !impl_->dir) return impl_->valid = false;
    impl_->valid = impl_->advance();
    return impl_->valid;
}

bool listingAnswersPatterns() { return true; }

}  // namespace qx::files::sys

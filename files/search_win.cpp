// The directory search on Windows: FindFirstFileEx / FindNextFile with the
// ANSI names of the system code page.
#include <windows.h>

#include <optional>
#include <string>

#include "core/scoped_win.h"
#include "files/path_logic.h"
#include "files/search_sys.h"

namespace qx::files::sys {

struct DirectorySearch::Impl {
    UniqueFind handle;
    WIN32_FIND_DATAA data{};
    String name;
    void take() {
        data.cFileName[MAX_PATH - 1] = '\0';
        name = fromNarrow(data.cFileName);
    }
};

DirectorySearch::DirectorySearch(const String& pattern) : impl_(std::make_unique<Impl>()) {
    const std::optional<std::string> system = systemPathIfAny(pattern);
    if (!system) return;
    // The basic information level leaves out the short names, which nothing here reads.
    impl_->handle.reset(FindFirstFileExA(system->c_str(), FindExInfoBasic, &impl_->data,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (impl_->handle) impl_->take();
}

DirectorySearch::~DirectorySearch() = default;

bool DirectorySearch::valid() const { return impl_->handle.valid(); }
const String& DirectorySearch::name() const { return impl_->name; }
bool DirectorySearch::isFolder() const { return (impl_->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool DirectorySearch::next() {
    if (!impl_->handle) return false;
    if (!FindNextFileA(impl_->handle.get(), &impl_->data)) return false;
    impl_->take();
    return true;
}

bool listingAnswersPatterns() { return false; }

}  // namespace qx::files::sys

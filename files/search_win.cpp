// The directory search on Windows: FindFirstFileEx / FindNextFile with the
// ANSI names of the system code page.
#include <windows.h>

#include "files/search_sys.h"

namespace qx::files::sys {

struct DirectorySearch::Impl {
    HANDLE handle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA data{};
    String name;
    void take() {
        data.cFileName[MAX_PATH - 1] = '\0';
        name = fromNarrow(data.cFileName);
    }
};

DirectorySearch::DirectorySearch(const String& pattern) : impl_(std::make_unique<Impl>()) {
    if (pattern.find(u'\0') != String::npos) return;
    // The basic information level leaves out the short names, which nothing here reads.
    impl_->handle = FindFirstFileExA(toNarrow(pattern).c_str(), FindExInfoBasic, &impl_->data, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (impl_->handle != INVALID_HANDLE_VALUE) impl_->take();
}

DirectorySearch::~DirectorySearch() {
    if (impl_->handle != INVALID_HANDLE_VALUE) FindClose(impl_->handle);
}

bool DirectorySearch::valid() const { return impl_->handle != INVALID_HANDLE_VALUE; }
const String& DirectorySearch::name() const { return impl_->name; }
bool DirectorySearch::isFolder() const { return (impl_->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool DirectorySearch::next() {
    if (impl_->handle == INVALID_HANDLE_VALUE) return false;
    if (!FindNextFileA(impl_->handle, &impl_->data)) return false;
    impl_->take();
    return true;
}

bool listingAnswersPatterns() { return false; }

}  // namespace qx::files::sys

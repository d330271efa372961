#pragma once
// The system's directory search as the file search uses it, one
// implementation per platform (search_win.cpp, search_posix.cpp).
#include <memory>

#include "core/qxstring.h"

namespace qx::files::sys {

// One enumeration of the entries that match `pattern` (wildcards allowed in
// its last component), in the order the system lists them. A folder other
// than a root lists "." and ".." first where the pattern matches them. The
// enumeration is closed when the object goes.
class DirectorySearch {
public:
    explicit DirectorySearch(const String& pattern);
    ~DirectorySearch();
    DirectorySearch(const DirectorySearch&) = delete;
    DirectorySearch& operator=(const DirectorySearch&) = delete;

    // Whether the search could be started and stands on an entry.
    bool valid() const;
    // The current entry's name and whether it is a folder.
    const String& name() const;
    bool isFolder() const;
    // Moves to the next entry; false at the end.
    bool next();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Whether the system matches patterns with the library's own wildcard rules
// against the names a folder lists (POSIX), so that a pattern search in a
// folder just listed can be answered from that listing. On Windows the
// system matches short names too, and the system must be asked.
bool listingAnswersPatterns();

}  // namespace qx::files::sys

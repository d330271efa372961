#include "files/search.h"

#include <chrono>
#include <vector>

#include "core/error.h"
#include "core/screen.h"
#include "core/state.h"
#include "files/paths.h"
#include "files/search_sys.h"
#include "files/wildcard.h"

namespace qx::files {

namespace {

bool cancelled() { return state().AppCancel; }

bool isDotEntry(const String& name) { return name == u"." || name == u".."; }

// Lets the host's messages run. A search yields at every folder; between the
// entries of one folder it yields at most every few milliseconds, which keeps
// the host as responsive as yielding at every entry at a fraction of the cost
// (a message-loop pass costs far more than reading one directory entry).
class Yielder {
public:
    void now() {
        doEvents();
        last_ = Clock::now();
    }
    void entry() {
        if (Clock::now() - last_ >= kInterval) now();
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kInterval{5};
    Clock::time_point last_ = Clock::now();
};

String search(String& path, const String& searchStr, Yielder& yield) {
    const char16_t sep = separator();
    if (cancelled()) return String();
    yield.now();
    if (path.empty() || path.back() != sep) path += sep;

    // The subfolders of this level, as the system lists them, and, where a
    // pattern can be matched against it, the whole listing.
    const bool keepListing = hasWildcards(searchStr) && sys::listingAnswersPatterns();
    std::vector<String> folders;
    std::vector<String> listing;
    {
        sys::DirectorySearch entries(path + u"*");
        for (bool more = entries.valid(); more; more = entries.next()) {
            if (cancelled()) return String();
            if (keepListing) listing.push_back(entries.name());
            if (!isDotEntry(entries.name()) && entries.isFolder()) {
                // The folder list counts with a 16-bit integer.
                if (folders.size() >= 32767) raise(err::Overflow);
                folders.push_back(entries.name());
            }
            if (cancelled()) return String();
            yield.entry();
        }
    }

    // A match in this folder ends the whole search. When only "." or ".."
    // match, the subfolders are not searched.
    if (keepListing) {
        bool started = false;
        for (const String& name : listing) {
            if (!matchesWildcard(searchStr, name)) continue;
            if (!isDotEntry(name)) return path;
            started = true;
            if (cancelled()) return String();
        }
        if (started) {
            yield.now();
            return String();
        }
    } else {
        sys::DirectorySearch matches(path + searchStr);
        if (matches.valid()) {
            for (bool more = true; more; more = matches.next()) {
                if (!isDotEntry(matches.name())) return path;
                if (cancelled()) return String();
                yield.entry();
            }
            yield.now();
            return String();
        }
    }

    for (const String& folder : folders) {
        if (cancelled()) return String();
        String sub = path + folder + sep;
        const String found = search(sub, searchStr, yield);
        if (cancelled()) return String();
        if (!found.empty()) return found;
        yield.entry();
    }
    yield.now();
    return String();
}

}  // namespace

String findFiles(String& path, const String& searchStr) {
    Yielder yield;
    return search(path, searchStr, yield);
}

std::int16_t doesExist(const String& path) {
    if (cancelled()) return 0;
    bool found = false;
    {
        sys::DirectorySearch entry(path);
        found = entry.valid();
    }
    if (cancelled()) return 0;
    if (found) return 1;
    sys::DirectorySearch inside(path + u"*");
    if (!cancelled() && inside.valid() && isDotEntry(inside.name())) return 2;
    return 0;
}

}  // namespace qx::files

// Fuzzing the path routines. The input is up to three lines of UTF-8 text:
//   <path>      checked by the text routines, then made with createFolders
//               and looked up with fileExists and getLongName inside a scratch root
//   <name>      a plain file created in the root (when it can be one)
//   <pattern>   looked up with fileExists in the root
// Every path that reaches the file system is put below the scratch root, and
// a ".." level is renamed, so nothing is created or searched elsewhere.
#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/qxstring.h"
#include "files/paths.h"
#include "files/wildcard.h"
#include "fuzz_support.h"

using qx::String;
using qx::StringView;
using qxfuzz::printable;
namespace files = qx::files;

namespace {

const qxfuzz::ScratchFolder& root() {
    static const qxfuzz::ScratchFolder folder("qxfuzz-paths");
    return folder;
}

bool blank(StringView s) { return s.find_first_not_of(u' ') == StringView::npos; }

std::vector<String> levels(StringView path) {
    std::vector<String> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(u'/', start);
        out.emplace_back(path.substr(start, end == StringView::npos ? StringView::npos : end - start));
        if (end == StringView::npos) return out;
        start = end + 1;
    }
}

// ---- the text routines ----

void checkFixPath(const String& x) {
    const String r = files::fixPath(x);
    QXFUZZ_CHECK(files::fixPath(r) == r, "fixPath is idempotent", printable(x));
    const String t = qx::trim(x);
    if (t.empty()) {
        QXFUZZ_CHECK(r.empty(), "fixPath of a blank text", printable(x));
    } else {
        QXFUZZ_CHECK(r.back() == u'/' && (r == t || r == t + u'/'), "fixPath trims and ends in the separator",
                     printable(x), printable(r));
    }
}

void checkStripTerminator(const String& x) {
    const String r = files::stripTerminator(x);
    QXFUZZ_CHECK(r.find(u'\0') == String::npos, "stripTerminator leaves no NUL", printable(x));
    QXFUZZ_CHECK(x.compare(0, r.size(), r) == 0, "stripTerminator gives a prefix", printable(x), printable(r));
    QXFUZZ_CHECK(r.size() == x.size() || x[r.size()] == u'\0', "stripTerminator stops at the first NUL", printable(x),
                 printable(r));
}

void checkAbsolutePath(const String& x) {
    const String r = files::getAbsolutePath(x);
    QXFUZZ_CHECK(files::getAbsolutePath(r) == r, "getAbsolutePath is idempotent", printable(x), printable(r));
    QXFUZZ_CHECK(r.empty() == x.empty(), "getAbsolutePath of an empty path", printable(x), printable(r));
    if (x.empty()) return;
    const bool absolute = x.front() == u'/';
    QXFUZZ_CHECK(r.front() == u'/' ? absolute : !absolute, "a relative path stays relative, an absolute one absolute",
                 printable(x), printable(r));
    QXFUZZ_CHECK(r.find(u"//") == String::npos, "repeated separators count as one", printable(x), printable(r));
    if (r == u"." || r == u"/") return;
    // Only leading ".." levels of a relative path remain; no "." level remains.
    bool climbing = !absolute;
    const std::vector<String> parts = levels(absolute ? StringView(r).substr(1) : StringView(r));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const String& part = parts[i];
        if (part.empty()) {
            QXFUZZ_CHECK(i + 1 == parts.size(), "an empty level inside", printable(x), printable(r));
            continue;
        }
        QXFUZZ_CHECK(part != u".", "a \".\" level remains", printable(x), printable(r));
        if (part == u"..") {
            QXFUZZ_CHECK(climbing, "a \"..\" level after a name or below the root", printable(x), printable(r));
        } else {
            climbing = false;
        }
    }
}

// ---- the file system, below the root ----

// The path's ".." levels renamed, so that it stays below the root.
String confine(const String& x) {
    String out;
    const std::vector<String> parts = levels(x);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += u'/';
        out += parts[i] == u".." ? String(u"_..") : parts[i];
    }
    return out;
}

struct Entry {
    bool present = false;
    bool regular = false;
};
Entry entryAt(const std::string& narrow) {
    struct stat st {};
    Entry e;
    e.present = ::lstat(narrow.c_str(), &st) == 0;
    e.regular = e.present && ::stat(narrow.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    return e;
}

// What fileExists should answer on POSIX: a name that ends in "/" means every
// file in that folder; the last level may hold wildcards, matched by the
// Windows rules; only regular files count, and a wildcard passes over names
// that start with ".".
bool expectedExists(const String& path) {
    if (path.empty() || path.find(u'\0') != String::npos) return false;
    const String pattern = path.back() == u'/' ? path + u'*' : path;
    const std::size_t cut = pattern.rfind(u'/');
    const String folder = cut == String::npos ? String() : pattern.substr(0, cut + 1);
    const String leaf = cut == String::npos ? pattern : pattern.substr(cut + 1);
    if (leaf.empty()) return false;
    const std::string nfolder = qx::toNarrow(folder);
    if (leaf.find_first_of(u"*?") == String::npos)
        return entryAt(nfolder + qx::toNarrow(leaf)).regular;
    DIR* dir = ::opendir(nfolder.empty() ? "." : nfolder.c_str());
    if (!dir) return false;
    bool any = false;
    while (const dirent* e = ::readdir(dir)) {
        const String name = qx::fromNarrow(e->d_name);
        if (name.front() != u'.' && files::matchesWildcard(leaf, name) && entryAt(nfolder + e->d_name).regular) {
            any = true;
            break;
        }
    }
    ::closedir(dir);
    return any;
}

void checkExists(const String& path) {
    const bool got = files::fileExists(path);
    QXFUZZ_CHECK(got == expectedExists(path), "fileExists", printable(path), got ? "answered true" : "answered false");
}

// Every level that is not blank was made, outermost first, as far as the
// system can make such names.
void checkFolders(const String& rootText, const String& inside) {
    if (inside.find(u'\0') != String::npos) return;  // names nothing the system could make
    std::string acc = qx::toNarrow(rootText) + "/";
    for (const String& part : levels(inside)) {
        if (blank(part)) continue;
        const std::string name = qx::toNarrow(part);
        if (name.size() > NAME_MAX || acc.size() + name.size() + 1 >= PATH_MAX) return;
        acc += name + "/";
        struct stat st {};
        QXFUZZ_CHECK(::stat(acc.c_str(), &st) == 0 && S_ISDIR(st.st_mode), "createFolders made every level",
                     printable(inside), acc);
    }
}

void checkLongName(const String& path) {
    String r;
    try {
        r = files::getLongName(path);
    } catch (const qx::RuntimeError& e) {
        // The full path does not fit (5), or the name holds a NUL and names nothing (53).
        const bool nul = path.find(u'\0') != String::npos;
        QXFUZZ_CHECK(e.number() == (nul ? qx::err::FileNotFound : qx::err::InvalidProcedureCall), "getLongName raised",
                     printable(path), e.what());
        return;
    }
    QXFUZZ_CHECK(!r.empty() && r.front() == u'/', "getLongName gives a full path", printable(path), printable(r));
    // Without wildcards every level is found as it is spelled (or not at all).
    if (!files::hasWildcards(path))
        QXFUZZ_CHECK(r == files::getAbsolutePath(path), "getLongName without short names", printable(path),
                     printable(r));
}

// A name that can be made as a plain, visible file in the root, and that the
// system's listing gives back as it is spelled (an unpaired surrogate outside
// the range that stands for a raw byte does not survive the narrow text).
bool plainFileName(const String& n) {
    if (n.empty() || n.front() == u'.' || files::hasWildcards(n)) return false;
    if (qx::fromNarrow(qx::toNarrow(n)) != n) return false;
    if (n.find_first_of(String(u"/\0", 2)) != String::npos) return false;
    return qx::toNarrow(n).size() <= NAME_MAX;
}

void checkCreatedFile(const String& rootText, const String& n) {
    const String base = rootText + u'/';
    QXFUZZ_CHECK(files::fileExists(base + n), "a file just made exists", printable(n));
    QXFUZZ_CHECK(files::fileExists(base + u"*"), "\"*\" finds a file just made", printable(n));
    QXFUZZ_CHECK(!files::fileExists(base + n + u'/'), "a file is no folder", printable(n));
    // One character for "?", the rest from a prefix for "*", the extension after "*".
    for (const std::size_t i : {std::size_t{0}, n.size() / 2, n.size() - 1}) {
        if (n[i] != u'.') {
            String q = n;
            q[i] = u'?';
            QXFUZZ_CHECK(files::fileExists(base + q), "\"?\" matches one character", printable(n), printable(q));
        }
        const String star = n.substr(0, i) + u'*';
        QXFUZZ_CHECK(files::fileExists(base + star), "a prefix and \"*\"", printable(n), printable(star));
    }
    const std::size_t dot = n.rfind(u'.');
    if (dot != String::npos) {
        const String ext = u"*" + n.substr(dot);
        QXFUZZ_CHECK(files::fileExists(base + ext), "\"*\" and the extension", printable(n), printable(ext));
    }
    // The same name as a dot-file is found by its full name, never by a wildcard.
    const std::string hidden = root().path() + "/." + qx::toNarrow(n);
    if (qx::toNarrow(n).size() < NAME_MAX && !entryAt(hidden).present) {
        qxfuzz::writeFile(hidden, "h");
        QXFUZZ_CHECK(files::fileExists(base + u'.' + n), "a dot-file named in full is found", printable(n));
        String q = n;
        q[0] = u'?';
        QXFUZZ_CHECK(!files::fileExists(base + u'.' + q), "a wildcard passes over dot-files", printable(n));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    String field[3];
    for (String& f : field) {
        const std::size_t nl = in.find('\n');
        f = qx::fromUtf8(in.substr(0, nl));
        in = nl == std::string_view::npos ? std::string_view() : in.substr(nl + 1);
    }
    const String& path = field[0];
    const String& name = field[1];
    const String& pattern = field[2];

    for (const String& f : field) {
        checkFixPath(f);
        checkStripTerminator(f);
        checkAbsolutePath(f);
    }

    root().clear();
    const String rootText = qx::fromNarrow(root().path());
    const String inside = confine(path);
    files::createFolders(rootText + u'/' + inside);  // never raises
    checkFolders(rootText, inside);

    if (plainFileName(name) && !entryAt(root().path() + "/" + qx::toNarrow(name)).present) {
        qxfuzz::writeFile(root().path() + "/" + qx::toNarrow(name), "x");
        checkCreatedFile(rootText, name);
    }
    checkExists(rootText + u'/' + inside);
    checkExists(rootText + u'/' + confine(pattern));
    checkLongName(rootText + u'/' + inside);
    return 0;
}

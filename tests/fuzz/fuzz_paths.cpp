// Fuzzing the path routines. The input is up to two lines of UTF-8 text, each
// folded by getAbsolutePath; the first is then made with createFolders and
// looked up with getLongName inside a scratch root, with its ".." levels
// renamed so that nothing is created elsewhere.
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

std::vector<String> levels(StringView path) {
    std::vector<String> out;
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find(u'/', start);
        out.emplace_back(path.substr(start, end == StringView::npos ? StringView::npos : end - start));
        if (end == StringView::npos) return out;
        start = end + 1;
    }
}

// Folding is idempotent, keeps a path relative or absolute, and leaves no
// "." level, no repeated separator and no ".." after a name or below the root.
void checkAbsolutePath(const String& x) {
    const String r = files::getAbsolutePath(x);
    QXFUZZ_CHECK(files::getAbsolutePath(r) == r, "getAbsolutePath is idempotent", printable(x), printable(r));
    QXFUZZ_CHECK(r.empty() == x.empty(), "getAbsolutePath of an empty path", printable(x), printable(r));
    if (x.empty() || r == u"." || r == u"/") return;
    const bool absolute = x.front() == u'/';
    QXFUZZ_CHECK((r.front() == u'/') == absolute, "a path stays relative or absolute", printable(x), printable(r));
    bool climbing = !absolute;
    const std::vector<String> parts = levels(absolute ? StringView(r).substr(1) : StringView(r));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool ok = parts[i] == u".." ? climbing : parts[i] != u"." && (!parts[i].empty() || i + 1 == parts.size());
        QXFUZZ_CHECK(ok, "a level left unfolded", printable(x), printable(r));
        climbing = climbing && parts[i] == u"..";
    }
}

// Every level that is not blank was made, as far as the system can make such
// names; getLongName gives the folded full path, or raises 5 (too long) or 53 (a NUL).
void checkFoldersAndLongName(const String& rootText, const String& inside) {
    const String path = rootText + u'/' + inside;
    files::createFolders(path);  // never raises
    const bool nul = inside.find(u'\0') != String::npos;
    std::string acc = qx::toNarrow(rootText) + "/";
    for (const String& part : levels(inside)) {
        if (nul || qx::trim(part).empty()) continue;
        const std::string name = qx::toNarrow(part);
        if (name.size() > NAME_MAX || acc.size() + name.size() + 1 >= PATH_MAX) break;
        acc += name + "/";
        struct stat st {};
        QXFUZZ_CHECK(::stat(acc.c_str(), &st) == 0 && S_ISDIR(st.st_mode), "createFolders made every level",
                     printable(inside), acc);
    }
    try {
        const String r = files::getLongName(path);
        QXFUZZ_CHECK(files::hasWildcards(path) || r == files::getAbsolutePath(path), "getLongName", printable(path),
                     printable(r));
    } catch (const qx::RuntimeError& e) {
        QXFUZZ_CHECK(e.number() == (nul ? qx::err::FileNotFound : qx::err::InvalidProcedureCall),
                     "getLongName raised", printable(path), e.what());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::size_t nl = in.find('\n');
    const String path = qx::fromUtf8(in.substr(0, nl));
    checkAbsolutePath(path);
    if (nl != std::string_view::npos) checkAbsolutePath(qx::fromUtf8(in.substr(nl + 1)));

    static const qxfuzz::ScratchFolder root("qxfuzz-paths");
    root.clear();
    String inside;
    const std::vector<String> parts = levels(path);
    for (std::size_t i = 0; i < parts.size(); ++i) inside += (i ? u"/" : u"") + (parts[i] == u".." ? u"_.." : parts[i]);
    checkFoldersAndLongName(qx::fromNarrow(root.path()), inside);
    return 0;
}

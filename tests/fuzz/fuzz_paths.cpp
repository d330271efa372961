// Fuzzing getAbsolutePath on each line of the input: the folded path is a
// fixed point, as relative or absolute as the path, and keeps no "." level,
// no empty level but a last one, and no ".." after a name or below the root.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/qxstring.h"
#include "files/paths.h"
#include "fuzz_support.h"

using qx::String;
using qxfuzz::printable;

namespace {

void checkAbsolutePath(const String& x) {
    const String r = qx::files::getAbsolutePath(x);
    QXFUZZ_CHECK(qx::files::getAbsolutePath(r) == r, "getAbsolutePath is idempotent", printable(x), printable(r));
    QXFUZZ_CHECK(r.empty() == x.empty(), "getAbsolutePath of an empty path", printable(x), printable(r));
    if (x.empty() || r == u"." || r == u"/") return;
    const bool absolute = x.front() == u'/';
    QXFUZZ_CHECK((r.front() == u'/') == absolute, "a path stays relative or absolute", printable(x), printable(r));
    bool climbing = !absolute;
    for (std::size_t start = absolute ? 1 : 0; start <= r.size();) {
        const std::size_t end = std::min(r.find(u'/', start), r.size());
        const String part = r.substr(start, end - start);
        const bool ok = part == u".." ? climbing : part != u"." && (!part.empty() || end == r.size());
        QXFUZZ_CHECK(ok, "a level left unfolded", printable(x), printable(r));
        climbing = climbing && part == u"..";
        start = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    for (;;) {
        const std::size_t nl = in.find('\n');
        checkAbsolutePath(qx::fromUtf8(in.substr(0, nl)));
        if (nl == std::string_view::npos) return 0;
        in = in.substr(nl + 1);
    }
}

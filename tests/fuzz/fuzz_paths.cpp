// Fuzzing getAbsolutePath on each line of the input: the folded path is a
// fixed point and keeps no level that folding should have removed.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "files/paths.h"
#include "fuzz_support.h"

using qx::String;
using qxfuzz::printable;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    for (std::size_t from = 0; from <= in.size();) {
        const std::size_t nl = std::min(in.find('\n', from), in.size());
        const String x = qx::fromUtf8(in.substr(from, nl - from));
        from = nl + 1;
        const String r = qx::files::getAbsolutePath(x);
        QXFUZZ_CHECK(qx::files::getAbsolutePath(r) == r, "a fixed point", printable(x), printable(r));
        QXFUZZ_CHECK(r.empty() == x.empty(), "empty only for an empty path", printable(x), printable(r));
        if (x.empty() || r == u"." || r == u"/") continue;
        const bool absolute = x.front() == u'/';
        QXFUZZ_CHECK((r.front() == u'/') == absolute, "relative or absolute", printable(x), printable(r));
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
    return 0;
}

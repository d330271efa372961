// Fuzzing the PE version-resource reader on a file's bytes, read through a
// source of exactly that size (a read past it is a sanitizer error). Checked:
//   - the reader answers the same twice;
//   - a version resource found lies inside the input, is at most 65535 bytes,
//     and the fixed information is the 52 bytes at its root value's offset;
//   - a prefix of the input that yields a result yields the full input's;
//   - the display texts say what the fixed information holds (four dotted
//     numbers, flag words in bit order, the type and subtype);
//   - the input read as a bare version block has its root value inside it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/qxstring.h"
#include "fuzz_support.h"
#include "sysinfo/clsVersionInfo.h"
#include "sysinfo/pe_resource.h"
#include "sysinfo/version_info.h"

namespace sysinfo = qx::sysinfo;
using qx::String;
using qxfuzz::printable;

namespace {
// "high.low" of each word, joined by ".".
std::string dotted(std::initializer_list<std::uint32_t> words) {
    std::string out;
    for (std::uint32_t w : words)
        out += (out.empty() ? "" : ".") + std::to_string(w >> 16) + "." + std::to_string(w & 0xFFFF);
    return out;
}

void checkTexts(const sysinfo::FixedFileInfo& f) {
    qx::clsVersionInfo v;
    sysinfo::applyFixedFileInfo(f, v);
    QXFUZZ_CHECK(qx::toUtf8(v.StrucVer()) == dotted({f.strucVersion}), "StrucVer is high.low", printable(v.StrucVer()));
    QXFUZZ_CHECK(qx::toUtf8(v.FileVer()) == dotted({f.fileVersionMS, f.fileVersionLS}), "FileVer is four numbers",
                 printable(v.FileVer()));
    QXFUZZ_CHECK(qx::toUtf8(v.ProdVer()) == dotted({f.productVersionMS, f.productVersionLS}),
                 "ProdVer is four numbers", printable(v.ProdVer()));

    static const char16_t* const words[] = {u"Debug ", u"PreRel ", u"Patched ", u"Private ", u"Info ", u"Special "};
    String flags;
    for (int bit = 0; bit < 6; ++bit)
        if (f.flags & (1u << bit)) flags += words[bit];
    QXFUZZ_CHECK(v.FileFlags() == flags, "one word per flag bit, in bit order", printable(v.FileFlags()));

    QXFUZZ_CHECK((v.FileType() == u"Unknown") == (f.fileType == 0 || f.fileType == 6 || f.fileType > 7),
                 "FileType is Unknown exactly for 0, 6 and above 7", std::to_string(f.fileType));
    if (f.fileType != 3 || f.fileSubtype > 10)
        QXFUZZ_CHECK(v.FileSubType() == (f.fileSubtype == 0 ? String() : qx::toDecimal(f.fileSubtype)),
                     "the subtype as a number", printable(v.FileSubType()));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> input(data, data + size);
    const sysinfo::ByteSource source = sysinfo::memorySource(input.data(), input.size());

    sysinfo::FixedFileInfo first;
    sysinfo::FixedFileInfo second;
    const bool found = sysinfo::readFixedFileInfo(source, first);
    QXFUZZ_CHECK(found == sysinfo::readFixedFileInfo(source, second), "the same answer twice");
    if (found) QXFUZZ_CHECK(first == second, "the same block twice");

    sysinfo::PeVersionResource resource;
    const bool located = sysinfo::findVersionResource(source, resource);
    QXFUZZ_CHECK(!found || located, "a fixed block comes from a located resource");
    if (located) {
        const std::size_t n = resource.block.size();
        QXFUZZ_CHECK(n >= 1 && n <= 0xFFFF, "the block is 1 to 65535 bytes", std::to_string(n));
        QXFUZZ_CHECK(resource.fileOffset <= size && n <= size - resource.fileOffset, "the block lies in the input",
                     std::to_string(resource.fileOffset), std::to_string(n));
        QXFUZZ_CHECK(std::equal(resource.block.begin(), resource.block.end(),
                                input.begin() + static_cast<std::ptrdiff_t>(resource.fileOffset)),
                     "the block is the input's bytes");
        std::size_t value = 0;
        const bool hasRoot = sysinfo::rootValueOffset(resource.block.data(), n, sysinfo::FixedFileInfoSize, value);
        QXFUZZ_CHECK(hasRoot == found, "a fixed block exactly when the root value fits");
        if (found) {
            QXFUZZ_CHECK(value % 4 == 0 && value + sysinfo::FixedFileInfoSize <= n,
                         "the root value is aligned and inside", std::to_string(value));
            QXFUZZ_CHECK(sysinfo::decodeFixedFileInfo(resource.block.data() + value) == first,
                         "the fixed block is the bytes at the root value");
        }
    }

    // A prefix that yields a result yields the full input's (read from an exact-size copy).
    if (size > 1) {
        const std::vector<std::uint8_t> prefix(data, data + (size - 1 - data[size - 1] % size));
        sysinfo::FixedFileInfo part;
        if (sysinfo::readFixedFileInfo(sysinfo::memorySource(prefix.data(), prefix.size()), part))
            QXFUZZ_CHECK(found && part == first, "a prefix agrees with the whole input", std::to_string(prefix.size()));
    }

    if (found) checkTexts(first);

    // The input as a bare version block.
    std::size_t value = 0;
    if (sysinfo::rootValueOffset(input.data(), input.size(), 0, value)) {
        const std::size_t length = static_cast<std::size_t>(input[0] | input[1] << 8);
        QXFUZZ_CHECK(value % 4 == 0 && value >= 8 && value <= length && length <= size,
                     "the root value starts after the key, inside the block", std::to_string(value),
                     std::to_string(length));
    }
    return 0;
}

// The names of the fixed file information, and the PE resource reader on
// toolchain-built DLLs (32- and 64-bit) and on damaged copies of them.
// Compiled into the native and the Windows test binaries.
#include "sysinfo/version_info.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sysinfo/pe_resource.h"

namespace sysinfo = qx::sysinfo;

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes dataFile(const char* name) {
    std::ifstream in(std::string(QX_TEST_DATA_DIR) + "/pe/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool parse(const Bytes& image, sysinfo::FixedFileInfo& out) {
    return sysinfo::readFixedFileInfo(sysinfo::memorySource(image.data(), image.size()), out);
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
}  // namespace

TEST(VersionTexts, NamesOfSystemsAndDriverSubtypes) {
    EXPECT_EQ(sysinfo::fileOSName(0x40004), u"NT-Win32");
    EXPECT_EQ(sysinfo::fileOSName(0x40005), u"Unknown");
    // Subtypes have names for drivers only, 0 to 10; others are numbers.
    EXPECT_EQ(sysinfo::fileSubtypeText(3, 10), u"Comm drv");
    EXPECT_EQ(sysinfo::fileSubtypeText(3, 11), u"11");
}

TEST(PeReader, EveryTruncationFailsUntilTheBlockIsWhole) {
    const Bytes image = dataFile("driver32.dll");
    sysinfo::PeVersionResource resource;
    ASSERT_TRUE(sysinfo::findVersionResource(sysinfo::memorySource(image.data(), image.size()), resource));
    const std::size_t needed = resource.fileOffset + resource.block.size();
    sysinfo::FixedFileInfo f;
    for (std::size_t n = 0; n <= image.size(); ++n) {
        // An exact-size copy, so that a read past the end is a sanitizer error.
        const Bytes cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_EQ(parse(cut, f), n >= needed) << n;
    }
    EXPECT_FALSE(parse(dataFile("noversion64.dll"), f));
}

TEST(PeReader, DamagedHeadersAndDirectoriesAreRejected) {
    const Bytes good = dataFile("driver64.dll");
    const std::size_t pe = le32(good, 0x3C);
    const std::size_t optional = pe + 24;
    std::size_t rsrcHeader = optional + (good[pe + 20] | good[pe + 21] << 8);
    while (std::string(reinterpret_cast<const char*>(&good[rsrcHeader]), 5) != ".rsrc") rsrcHeader += 40;
    const std::size_t rsrc = le32(good, rsrcHeader + 20);
    // The root's entry leads to the names of the type, the name's entry to its languages.
    const std::size_t nameDir = rsrc + (le32(good, rsrc + 20) & 0x7FFFFFFF);
    const std::size_t languageDir = rsrc + (le32(good, nameDir + 20) & 0x7FFFFFFF);
    sysinfo::PeVersionResource resource;
    ASSERT_TRUE(sysinfo::findVersionResource(sysinfo::memorySource(good.data(), good.size()), resource));
    const std::size_t block = resource.fileOffset;

    auto damaged = [&](std::size_t at, std::uint32_t value) {
        Bytes img = good;
        for (int i = 0; i < 4; ++i) img[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        sysinfo::FixedFileInfo f;
        return parse(img, f);
    };
    EXPECT_FALSE(damaged(pe, 0x00004551u));                            // not "PE\0\0"
    EXPECT_FALSE(damaged(optional, 0x0000010Cu));                      // unknown optional header
    EXPECT_FALSE(damaged(optional + 108, 2));                          // only two data directories
    // The section's data ends inside the block, though the file goes on.
    EXPECT_FALSE(damaged(rsrcHeader + 16, static_cast<std::uint32_t>(block + 60 - rsrc)));
    EXPECT_FALSE(damaged(rsrc + 20, le32(good, rsrc + 20) & 0x7FFFFFFF));  // type entry is no directory
    EXPECT_FALSE(damaged(rsrc + 16, 17));                              // another type only
    EXPECT_TRUE(damaged(languageDir + 16, 7));                         // any language will do
    EXPECT_FALSE(damaged(block, 0x00330000u | (good[block] | good[block + 1] << 8)));  // a value under 52 bytes
}

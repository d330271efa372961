// GetDisplayVerInfo: the display texts of the fixed file information, the PE
// resource reader on toolchain-built DLLs (32- and 64-bit) and on damaged
// copies of them, and the routine on real files (the version library on
// Windows, the reader elsewhere). Compiled into the native and the Windows
// test binaries.
#include "sysinfo/version_info.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "sysinfo/clsVersionInfo.h"
#include "sysinfo/pe_resource.h"
#include "temp_folder.h"

using qx::String;
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
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

sysinfo::FixedFileInfo info(std::uint32_t flags, std::uint32_t os, std::uint32_t type, std::uint32_t subtype) {
    sysinfo::FixedFileInfo f;
    f.strucVersion = 0x00010000;
    f.flags = flags;
    f.fileOS = os;
    f.fileType = type;
    f.fileSubtype = subtype;
    return f;
}

qx::clsVersionInfo texts(const sysinfo::FixedFileInfo& f) {
    qx::clsVersionInfo v;
    sysinfo::applyFixedFileInfo(f, v);
    return v;
}
}  // namespace

TEST(VersionTexts, NumbersAreUnsignedAndDotted) {
    auto f = info(0, 4, 1, 0);
    f.fileVersionMS = 0x00010002;
    f.fileVersionLS = 0x00030004;
    f.productVersionMS = 0xFFFFFFFF;
    f.productVersionLS = 0x8000FFFE;
    const auto v = texts(f);
    EXPECT_EQ(v.FileVer(), u"1.2.3.4");
    EXPECT_EQ(v.ProdVer(), u"65535.65535.32768.65534");
    EXPECT_EQ(v.StrucVer(), u"1.0");
    EXPECT_EQ(sysinfo::versionPair(0x80000001), u"32768.1");
}

TEST(VersionTexts, FlagWordsInBitOrderWithoutTheMask) {
    EXPECT_EQ(sysinfo::fileFlagsText(0), u"");
    EXPECT_EQ(sysinfo::fileFlagsText(0x09), u"Debug Private ");
    EXPECT_EQ(sysinfo::fileFlagsText(0x3F), u"Debug PreRel Patched Private Info Special ");
    EXPECT_EQ(sysinfo::fileFlagsText(0xFFFFFFC0), u"");  // bits without a word
    auto f = info(0x12, 4, 1, 0);
    f.flagsMask = 0;  // the mask is not applied
    EXPECT_EQ(texts(f).FileFlags(), u"PreRel Info ");
}

TEST(VersionTexts, NamesOfSystemTypeAndSubtype) {
    EXPECT_EQ(sysinfo::fileOSName(0x1), u"Win16");
    EXPECT_EQ(sysinfo::fileOSName(0x10001), u"DOS-Win16");
    EXPECT_EQ(sysinfo::fileOSName(0x20002), u"OS/2-16 PM-16");
    EXPECT_EQ(sysinfo::fileOSName(0x30003), u"OS/2-16 PM-32");
    EXPECT_EQ(sysinfo::fileOSName(0x40000), u"NT");
    EXPECT_EQ(sysinfo::fileOSName(0x40004), u"NT-Win32");
    EXPECT_EQ(sysinfo::fileOSName(0x50000), u"Unknown");
    EXPECT_EQ(sysinfo::fileOSName(0x40005), u"Unknown");
    const char16_t* types[] = {u"Unknown", u"App", u"DLL", u"Driver", u"Font", u"VxD", u"Unknown", u"Lib", u"Unknown"};
    for (std::uint32_t t = 0; t < 9; ++t) EXPECT_EQ(sysinfo::fileTypeName(t), types[t]) << t;

    EXPECT_EQ(texts(info(0, 4, 1, 0)).FileSubType(), u"");  // an application with subtype 0
    EXPECT_EQ(texts(info(0, 4, 4, 3)).FileSubType(), u"3");  // a TrueType font
    EXPECT_EQ(texts(info(0, 4, 3, 0)).FileSubType(), u"Unknown");
    EXPECT_EQ(texts(info(0, 4, 3, 1)).FileSubType(), u"Printer drv");
    EXPECT_EQ(texts(info(0, 4, 3, 10)).FileSubType(), u"Comm drv");
    EXPECT_EQ(texts(info(0, 4, 3, 11)).FileSubType(), u"11");
    EXPECT_EQ(texts(info(0, 4, 2, 7)).FileSubType(), u"7");  // names are for drivers only
    EXPECT_EQ(texts(info(0, 4, 6, 4294967295u)).FileSubType(), u"4294967295");
}

TEST(PeReader, ToolchainBuiltDllsOfBothWidths) {
    for (const char* name : {"driver32.dll", "driver64.dll"}) {
        const Bytes image = dataFile(name);
        sysinfo::FixedFileInfo f;
        ASSERT_TRUE(parse(image, f)) << name;
        EXPECT_EQ(f.signature, 0xFEEF04BDu) << name;
        EXPECT_EQ(f.flagsMask, 0x01u) << name;
        const auto v = texts(f);
        EXPECT_EQ(v.FileVer(), u"1.2.3.4") << name;
        EXPECT_EQ(v.ProdVer(), u"65535.65535.65535.65535") << name;
        EXPECT_EQ(v.StrucVer(), u"1.0") << name;
        EXPECT_EQ(v.FileFlags(), u"Debug Private ") << name;
        EXPECT_EQ(v.FileOS(), u"Win32") << name;
        EXPECT_EQ(v.FileType(), u"Driver") << name;
        EXPECT_EQ(v.FileSubType(), u"Sound drv") << name;
    }
    sysinfo::FixedFileInfo f;
    EXPECT_FALSE(parse(dataFile("noversion64.dll"), f));
    EXPECT_FALSE(parse({'M', 'Z', 'h', 'i'}, f));
    EXPECT_FALSE(parse({}, f));
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
}

TEST(PeReader, DamagedOffsetsAreRejected) {
    const Bytes good = dataFile("driver64.dll");
    const std::size_t pe = le32(good, 0x3C);
    const std::size_t optional = pe + 24;
    const std::size_t sections = optional + (good[pe + 20] | good[pe + 21] << 8);
    std::size_t rsrcHeader = sections;
    while (std::string(reinterpret_cast<const char*>(&good[rsrcHeader]), 5) != ".rsrc") rsrcHeader += 40;
    const std::size_t rsrc = le32(good, rsrcHeader + 20);
    // The root's entry leads to the names of the type, the name's entry to its languages.
    const std::size_t nameDir = rsrc + (le32(good, rsrc + 20) & 0x7FFFFFFF);
    const std::size_t languageDir = rsrc + (le32(good, nameDir + 20) & 0x7FFFFFFF);
    const std::size_t dataEntry = rsrc + le32(good, languageDir + 20);
    sysinfo::PeVersionResource resource;
    ASSERT_TRUE(sysinfo::findVersionResource(sysinfo::memorySource(good.data(), good.size()), resource));
    const std::size_t block = resource.fileOffset;

    sysinfo::FixedFileInfo f;
    auto damaged = [&](std::size_t at, std::uint32_t value) {
        Bytes img = good;
        put32(img, at, value);
        return parse(img, f);
    };
    EXPECT_TRUE(damaged(0, le32(good, 0)));
    EXPECT_FALSE(damaged(0x3C, 0xFFFFFFF0u));                          // PE header past the end
    EXPECT_FALSE(damaged(pe, 0x00004551u));                            // not "PE\0\0"
    EXPECT_FALSE(damaged(optional, 0x0000010Cu));                      // unknown optional header
    EXPECT_FALSE(damaged(pe + 4, 0xFFFF0000u | (good[pe + 4] | good[pe + 5] << 8)));  // sections past the end
    EXPECT_FALSE(damaged(optional + 108, 2));                          // only two data directories
    EXPECT_FALSE(damaged(optional + 112 + 16, 0));                     // no resources
    EXPECT_FALSE(damaged(optional + 112 + 16, 0xFFFFFFF0u));           // resources in no section
    EXPECT_FALSE(damaged(rsrcHeader + 16, 0x10));                      // section data too short
    // The section's data ends inside the block, though the file goes on.
    EXPECT_FALSE(damaged(rsrcHeader + 16, static_cast<std::uint32_t>(block + 60 - rsrc)));
    EXPECT_FALSE(damaged(rsrcHeader + 20, 0xFFFFFE00u));               // section data past the end
    EXPECT_FALSE(damaged(rsrc + 20, 0xFFFFFFF0u));                     // subdirectory past the end
    EXPECT_FALSE(damaged(rsrc + 20, le32(good, rsrc + 20) & 0x7FFFFFFF));  // type entry is no directory
    EXPECT_FALSE(damaged(rsrc + 12, 0));                               // no entries
    EXPECT_FALSE(damaged(rsrc + 12, 0xFFFF0000u));                     // entries past the section
    EXPECT_FALSE(damaged(rsrc + 16, 17));                              // another type only
    EXPECT_FALSE(damaged(nameDir + 16, 2));                            // another name only
    EXPECT_TRUE(damaged(languageDir + 16, 7));                         // any language will do
    EXPECT_FALSE(damaged(languageDir + 20, 0x80000000u | le32(good, languageDir + 20)));  // to a directory
    EXPECT_FALSE(damaged(dataEntry, 0xFFFFFFF0u));                     // block in no section
    EXPECT_FALSE(damaged(dataEntry + 4, 0x7FFFFFFF));                  // block longer than the section
    EXPECT_FALSE(damaged(dataEntry + 4, 0));                           // empty block
    EXPECT_FALSE(damaged(block, 0x0034FFFF));                          // block length past the data
    EXPECT_FALSE(damaged(block, 0x00340028));                          // block length cuts the value
    EXPECT_FALSE(damaged(block, 0x00330000u | (good[block] | good[block + 1] << 8)));  // a value under 52 bytes
}

TEST(PeReader, KeyWithoutItsNul) {
    Bytes block(16 + 52, 'x');
    block[0] = 68;
    block[1] = 0;
    block[2] = 52;
    block[3] = 0;
    std::size_t at = 0;
    EXPECT_FALSE(sysinfo::rootValueOffset(block.data(), block.size(), 52, at));
    block[6] = block[7] = 0;  // an empty key: the value follows at 8
    ASSERT_TRUE(sysinfo::rootValueOffset(block.data(), block.size(), 52, at));
    EXPECT_EQ(at, 8u);
    EXPECT_FALSE(sysinfo::rootValueOffset(block.data(), 5, 0, at));
}

// ---- the routine on real files ----

TEST(GetDisplayVerInfo, FillsTheTextsAndKeepsTheCallersFields) {
    qxtest::TempFolder dir("qx_ver");
    const Bytes image = dataFile("driver64.dll");
    dir.write(u"driver.dll", std::string(image.begin(), image.end()));
    dir.write(u"text.txt", "just text");
    dir.write(u"empty.dll", "");
    dir.write(u"sub|inner.txt", "x");
    const Bytes bare = dataFile("noversion64.dll");
    dir.write(u"bare.dll", std::string(bare.begin(), bare.end()));

    qx::clsQXGenRtns lib;
    qx::clsVersionInfo v;
    v.Filename(u"caller's name");
    v.FullFileName(dir / u"driver.dll");
    lib.GetDisplayVerInfo(v);
    EXPECT_EQ(v.FileVer(), u"1.2.3.4");
    EXPECT_EQ(v.ProdVer(), u"65535.65535.65535.65535");
    EXPECT_EQ(v.FileFlags(), u"Debug Private ");
    EXPECT_EQ(v.FileSubType(), u"Sound drv");
    EXPECT_EQ(v.Filename(), u"caller's name");
    EXPECT_EQ(v.FullFileName(), dir / u"driver.dll");

    // Files without version information leave every field as it was.
    v.FileType(u"earlier");
    for (const String& name : {dir / u"bare.dll", dir / u"text.txt", dir / u"empty.dll", dir / u"missing.dll",
                               dir / u"sub", String()}) {
        v.FullFileName(name);
        lib.GetDisplayVerInfo(v);
        EXPECT_EQ(v.FileType(), u"earlier") << qx::toUtf8(name);
        EXPECT_EQ(v.FileVer(), u"1.2.3.4") << qx::toUtf8(name);
    }
}

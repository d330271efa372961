// GetDisplayVerInfo: the display texts of the fixed file information, the PE
// resource reader on built images (32- and 64-bit) and on toolchain-built
// DLLs, damaged images, and the routine on real files (the version library
// on Windows, the reader elsewhere). Compiled into the native and the Windows
// test binaries.
#include "sysinfo/version_info.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "pe_builder.h"
#include "sysinfo/clsVersionInfo.h"
#include "sysinfo/pe_resource.h"
#include "temp_folder.h"

using qx::String;
namespace sysinfo = qx::sysinfo;
using qxtest::fixedInfo;

namespace {
std::vector<std::uint8_t> dataFile(const char* name) {
    std::ifstream in(std::string(QX_TEST_DATA_DIR) + "/pe/" + name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool parse(const std::vector<std::uint8_t>& image, sysinfo::FixedFileInfo& out) {
    return sysinfo::readFixedFileInfo(sysinfo::memorySource(image.data(), image.size()), out);
}

qx::clsVersionInfo texts(const sysinfo::FixedFileInfo& f) {
    qx::clsVersionInfo v;
    sysinfo::applyFixedFileInfo(f, v);
    return v;
}
}  // namespace

TEST(VersionTexts, NumbersAreUnsignedAndDotted) {
    const auto v = texts(fixedInfo(0x00010002, 0x00030004, 0, 4, 1, 0));
    EXPECT_EQ(v.FileVer(), u"1.2.3.4");
    EXPECT_EQ(v.StrucVer(), u"1.0");
    auto f = fixedInfo(0xFFFFFFFF, 0xFFFFFFFF, 0, 4, 1, 0);
    f.productVersionMS = 0x000A0000;
    f.productVersionLS = 0x8000FFFE;
    f.strucVersion = 0x80000001;
    const auto w = texts(f);
    EXPECT_EQ(w.FileVer(), u"65535.65535.65535.65535");
    EXPECT_EQ(w.ProdVer(), u"10.0.32768.65534");
    EXPECT_EQ(w.StrucVer(), u"32768.1");
}

TEST(VersionTexts, FlagWordsInBitOrderWithoutTheMask) {
    EXPECT_EQ(sysinfo::fileFlagsText(0), u"");
    EXPECT_EQ(sysinfo::fileFlagsText(0x09), u"Debug Private ");
    EXPECT_EQ(sysinfo::fileFlagsText(0x3F), u"Debug PreRel Patched Private Info Special ");
    EXPECT_EQ(sysinfo::fileFlagsText(0xFFFFFFC0), u"");  // bits without a word
    auto f = fixedInfo(0, 0, 0x12, 4, 1, 0);
    f.flagsMask = 0;  // the mask is not applied
    EXPECT_EQ(texts(f).FileFlags(), u"PreRel Info ");
}

TEST(VersionTexts, OperatingSystemByExactValue) {
    const std::pair<std::uint32_t, const char16_t*> rows[] = {
        {0x1, u"Win16"},       {0x4, u"Win32"},         {0x10000, u"DOS"},           {0x10001, u"DOS-Win16"},
        {0x10004, u"DOS-Win32"}, {0x20002, u"OS/2-16 PM-16"}, {0x30003, u"OS/2-16 PM-32"}, {0x40000, u"NT"},
        {0x40004, u"NT-Win32"}, {0x0, u"Unknown"},       {0x50000, u"Unknown"},       {0x40005, u"Unknown"}};
    for (const auto& [value, name] : rows) EXPECT_EQ(sysinfo::fileOSName(value), name) << std::hex << value;
}

TEST(VersionTexts, FileTypeAndSubtype) {
    const char16_t* types[] = {u"Unknown", u"App", u"DLL", u"Driver", u"Font", u"VxD", u"Unknown", u"Lib", u"Unknown"};
    for (std::uint32_t t = 0; t < 9; ++t) EXPECT_EQ(sysinfo::fileTypeName(t), types[t]) << t;
    EXPECT_EQ(sysinfo::fileTypeName(0x80000000u), u"Unknown");

    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 1, 0)).FileSubType(), u"");      // application, subtype 0
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 4, 3)).FileSubType(), u"3");     // TrueType font
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 4, 3)).FileType(), u"Font");
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 3, 0)).FileSubType(), u"Unknown");
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 3, 1)).FileSubType(), u"Printer drv");
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 3, 7)).FileSubType(), u"System drv");
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 3, 10)).FileSubType(), u"Comm drv");
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 3, 11)).FileSubType(), u"11");
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 3, 11)).FileType(), u"Driver");
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 2, 7)).FileSubType(), u"7");  // names are for drivers only
    EXPECT_EQ(texts(fixedInfo(0, 0, 0, 4, 6, 4294967295u)).FileSubType(), u"4294967295");
}

TEST(VersionTexts, OnlyTheOutputFieldsAreWritten) {
    qx::clsVersionInfo v;
    v.Filename(u"a.dll");
    v.Directory(u"dir");
    v.FullFileName(u"dir/a.dll");
    sysinfo::applyFixedFileInfo(fixedInfo(0x00050000, 0, 0, 0x40004, 2, 0), v);
    EXPECT_EQ(v.Filename(), u"a.dll");
    EXPECT_EQ(v.Directory(), u"dir");
    EXPECT_EQ(v.FullFileName(), u"dir/a.dll");
    EXPECT_EQ(v.FileOS(), u"NT-Win32");
    EXPECT_EQ(v.FileType(), u"DLL");
}

TEST(PeReader, BuiltImagesOfBothWidths) {
    for (bool wide : {false, true}) {
        qxtest::PeSpec spec;
        spec.pe32plus = wide;
        spec.info = fixedInfo(0x00020005, 0x00070009, 0x09, 0x40004, 3, 11);
        spec.info.fileDateMS = 0x12345678;
        const auto image = qxtest::buildPe(spec);
        sysinfo::FixedFileInfo got;
        ASSERT_TRUE(parse(image, got)) << wide;
        EXPECT_TRUE(got == spec.info) << wide;
    }
}

TEST(PeReader, ToolchainBuiltDlls) {
    for (const char* name : {"driver32.dll", "driver64.dll"}) {
        const auto image = dataFile(name);
        ASSERT_FALSE(image.empty()) << name;
        sysinfo::FixedFileInfo f;
        ASSERT_TRUE(parse(image, f)) << name;
        const auto v = texts(f);
        EXPECT_EQ(v.FileVer(), u"1.2.3.4") << name;
        EXPECT_EQ(v.ProdVer(), u"65535.65535.65535.65535") << name;
        EXPECT_EQ(v.StrucVer(), u"1.0") << name;
        EXPECT_EQ(v.FileFlags(), u"Debug Private ") << name;  // mask 0x01, flags 0x09
        EXPECT_EQ(v.FileOS(), u"Win32") << name;
        EXPECT_EQ(v.FileType(), u"Driver") << name;
        EXPECT_EQ(v.FileSubType(), u"Sound drv") << name;
    }
    sysinfo::FixedFileInfo f;
    EXPECT_FALSE(parse(dataFile("noversion64.dll"), f));
}

TEST(PeReader, ImagesWithoutTheVersionResource) {
    sysinfo::FixedFileInfo f;
    qxtest::PeSpec none;
    none.withVersion = false;
    EXPECT_FALSE(parse(qxtest::buildPe(none), f));
    qxtest::PeSpec otherType;
    otherType.resourceType = 24;
    EXPECT_FALSE(parse(qxtest::buildPe(otherType), f));
    qxtest::PeSpec otherId;
    otherId.resourceId = 2;
    EXPECT_FALSE(parse(qxtest::buildPe(otherId), f));
    qxtest::PeSpec shortValue;
    shortValue.valueLength = 51;
    EXPECT_FALSE(parse(qxtest::buildPe(shortValue), f));
    const std::vector<std::uint8_t> text = {'M', 'Z', 'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(parse(text, f));
    EXPECT_FALSE(parse({}, f));
}

TEST(PeReader, EveryTruncationFailsCleanlyUntilTheBlockIsWhole) {
    qxtest::PeLayout layout;
    const auto image = qxtest::buildPe(qxtest::PeSpec{}, &layout);
    const std::size_t needed = layout.fixedInfo + 52;
    sysinfo::FixedFileInfo f;
    for (std::size_t n = 0; n < image.size(); ++n) {
        // An exact-size copy, so that a read past the end is a sanitizer error.
        const std::vector<std::uint8_t> cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_EQ(parse(cut, f), n >= needed) << n;
    }
}

TEST(PeReader, DamagedOffsetsAreRejected) {
    qxtest::PeLayout L;
    const auto good = qxtest::buildPe(qxtest::PeSpec{}, &L);
    sysinfo::FixedFileInfo f;
    auto damaged = [&](std::size_t at, std::uint32_t value, bool wide = true) {
        auto img = good;
        if (wide) qxtest::put32(img, at, value);
        else qxtest::put16(img, at, value);
        return parse(img, f);
    };
    ASSERT_TRUE(parse(good, f));
    EXPECT_FALSE(damaged(0x3C, 0xFFFFFFF0u));                       // PE header past the end
    EXPECT_FALSE(damaged(L.peHeader, 0x00004550u + 1));              // not "PE\0\0"
    EXPECT_FALSE(damaged(L.optionalHeader, 0x10C, false));           // unknown optional header
    EXPECT_FALSE(damaged(L.peHeader + 20, 0, false));                 // no optional header at all
    EXPECT_FALSE(damaged(L.peHeader + 6, 0xFFFF, false));             // a section table past the end
    EXPECT_FALSE(damaged(L.optionalHeader + 92, 2));                  // only two data directories
    EXPECT_FALSE(damaged(L.resourceDirectory, 0));                    // no resources
    EXPECT_FALSE(damaged(L.resourceDirectory, 0xFFFFFFF0u));          // resources in no section
    EXPECT_FALSE(damaged(L.sectionTable + 16, 0x10));                 // section data too short
    // The section's data ends inside the block, though the file goes on.
    EXPECT_FALSE(damaged(L.sectionTable + 16, static_cast<std::uint32_t>(L.fixedInfo + 20 - L.resourceSection)));
    EXPECT_FALSE(damaged(L.sectionTable + 20, 0xFFFFFE00u));          // section data past the end
    EXPECT_FALSE(damaged(L.resourceSection + 20, 0x80000000u | 0x7FFFFFF0u));  // subdirectory past the end
    EXPECT_FALSE(damaged(L.resourceSection + 20, 72));                // type entry is not a directory
    EXPECT_FALSE(damaged(L.resourceSection + 14, 0, false));          // no entries
    EXPECT_FALSE(damaged(L.resourceSection + 12, 0xFFFF, false));     // entries past the section
    EXPECT_FALSE(damaged(L.resourceSection + 68, 0x80000000u | 24));  // language leads to a directory
    EXPECT_FALSE(damaged(L.dataEntry, 0xFFFFFFF0u));                  // block in no section
    EXPECT_FALSE(damaged(L.dataEntry + 4, 0x7FFFFFFF));               // block longer than the section
    EXPECT_FALSE(damaged(L.dataEntry + 4, 0));                        // empty block
    EXPECT_FALSE(damaged(L.versionBlock, 0xFFFF, false));             // block length past the data
    EXPECT_FALSE(damaged(L.versionBlock, 40, false));                 // block length cuts the value
}

TEST(PeReader, VersionBlockRootValue) {
    // Header, a key of three characters with its NUL, padding to 4, a 52-byte value.
    std::vector<std::uint8_t> block(16 + 52, 0);
    qxtest::put16(block, 0, 68);
    qxtest::put16(block, 2, 52);
    qxtest::put16(block, 6, 'K');
    qxtest::put16(block, 8, 'E');
    qxtest::put16(block, 10, 'Y');
    qxtest::put32(block, 16 + 8, 0x00030001);  // file version MS
    std::size_t at = 0;
    ASSERT_TRUE(sysinfo::rootValueOffset(block.data(), block.size(), 52, at));
    EXPECT_EQ(at, 16u);
    sysinfo::FixedFileInfo f;
    ASSERT_TRUE(sysinfo::fixedInfoOfVersionBlock(block.data(), block.size(), f));
    EXPECT_EQ(f.fileVersionMS, 0x00030001u);
    // A key without its NUL inside the block.
    auto noNul = block;
    for (std::size_t i = 6; i < noNul.size(); i += 2) qxtest::put16(noNul, i, 'x');
    EXPECT_FALSE(sysinfo::rootValueOffset(noNul.data(), noNul.size(), 52, at));
    EXPECT_FALSE(sysinfo::rootValueOffset(block.data(), 5, 0, at));
}

// ---- the routine on real files ----

TEST(GetDisplayVerInfo, ReadsABuiltDllAndKeepsTheCallersFields) {
    qxtest::TempFolder dir("qx_ver");
    qxtest::PeSpec spec;
    spec.pe32plus = true;
    spec.info = fixedInfo(0x00040003, 0x00020001, 0x04, 0x40004, 2, 0);
    const auto image = qxtest::buildPe(spec);
    const String path = dir / u"built.dll";
    dir.write(u"built.dll", std::string(image.begin(), image.end()));

    qx::clsVersionInfo v;
    v.Filename(u"caller's name");
    v.FullFileName(path);
    qx::clsQXGenRtns lib;
    lib.GetDisplayVerInfo(v);
    EXPECT_EQ(v.FileVer(), u"4.3.2.1");
    EXPECT_EQ(v.ProdVer(), u"4.3.2.1");
    EXPECT_EQ(v.StrucVer(), u"1.0");
    EXPECT_EQ(v.FileFlags(), u"Patched ");
    EXPECT_EQ(v.FileOS(), u"NT-Win32");
    EXPECT_EQ(v.FileType(), u"DLL");
    EXPECT_EQ(v.FileSubType(), u"");
    EXPECT_EQ(v.Filename(), u"caller's name");
    EXPECT_EQ(v.FullFileName(), path);
}

TEST(GetDisplayVerInfo, FilesWithoutVersionLeaveTheRecordAlone) {
    qxtest::TempFolder dir("qx_ver");
    const auto good = qxtest::buildPe(qxtest::PeSpec{});
    dir.write(u"good.dll", std::string(good.begin(), good.end()));
    qxtest::PeSpec none;
    none.withVersion = false;
    const auto bare = qxtest::buildPe(none);
    dir.write(u"bare.dll", std::string(bare.begin(), bare.end()));
    dir.write(u"text.txt", "just text");
    dir.write(u"empty.dll", "");
    dir.write(u"sub|inner.txt", "x");

    qx::clsQXGenRtns lib;
    qx::clsVersionInfo v;
    v.FullFileName(dir / u"good.dll");
    lib.GetDisplayVerInfo(v);
    ASSERT_EQ(v.FileVer(), u"0.0.0.0");
    ASSERT_EQ(v.FileOS(), u"Unknown");
    v.FileType(u"earlier");
    for (const String& name : {dir / u"bare.dll", dir / u"text.txt", dir / u"empty.dll", dir / u"missing.dll",
                               dir / u"sub", String()}) {
        v.FullFileName(name);
        lib.GetDisplayVerInfo(v);
        EXPECT_EQ(v.FileType(), u"earlier") << qx::toUtf8(name);
        EXPECT_EQ(v.FileVer(), u"0.0.0.0") << qx::toUtf8(name);
        EXPECT_EQ(v.FullFileName(), name);
    }
}

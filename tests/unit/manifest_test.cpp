// Manifest files: the bytes of each template as written for an executable,
// compared with the expected files; the choice of template, the file's name
// and place, overwriting, and what a failure gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/clsQXGenRtns.h"
#include "core/hostapp.h"
#include "core/state.h"
#include "temp_folder.h"
#include "test_support.h"
#include "ui/manifest.h"

using qx::String;

namespace {

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string expected(const char* name) {
    const std::string bytes = readBytes(std::filesystem::path(QX_TEST_DATA_DIR) / "manifests" / name);
    EXPECT_FALSE(bytes.empty()) << "expected file " << name << " is missing";
    return bytes;
}

}  // namespace

TEST(Manifest, EachTemplateIsWrittenByteForByte) {
    qxtest::TempFolder dir("manifest");
    qx::clsQXGenRtns lib;
    const String file = dir / u"MyApp.exe.manifest";
    const std::filesystem::path onDisk(file);

    EXPECT_EQ(lib.CreateManifestFile(u"MyApp", dir.str(), 101), file);
    EXPECT_EQ(readBytes(onDisk), expected("XPThemes.manifest"));
    // Only the third template names the executable; the others keep their fixed names.
    EXPECT_EQ(lib.CreateManifestFile(u"MyApp", dir.str(), 102), file);
    EXPECT_EQ(readBytes(onDisk), expected("VistaRunAsAdminXPThemes.manifest"));
    EXPECT_EQ(lib.CreateManifestFile(u"MyApp", dir.str(), 103), file);
    EXPECT_EQ(readBytes(onDisk), expected("VistaRunAsAdmin-MyApp.manifest"));

    // Any other number is the first template.
    for (std::int16_t id : {std::int16_t{7}, std::int16_t{0}, std::int16_t{-101}, std::int16_t{104}}) {
        EXPECT_EQ(lib.CreateManifestFile(u"MyApp", dir.str(), id), file);
        EXPECT_EQ(readBytes(onDisk), expected("XPThemes.manifest")) << "Id " << id;
    }
}

TEST(Manifest, TextIsNarrowWithCrLfLineEnds) {
    for (std::int16_t id : {std::int16_t{101}, std::int16_t{102}, std::int16_t{103}}) {
        const std::string& t = qx::ui::manifestTemplate(id);
        EXPECT_EQ(t.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n", 0), 0u);
        for (std::size_t i = 0; i < t.size(); ++i) {
            EXPECT_LT(static_cast<unsigned char>(t[i]), 0x80u) << "template " << id << " at " << i;
            if (t[i] == '\n') {
                EXPECT_TRUE(i > 0 && t[i - 1] == '\r') << "bare LF in template " << id << " at " << i;
            }
            if (t[i] == '\r') {
                EXPECT_TRUE(i + 1 < t.size() && t[i + 1] == '\n') << "bare CR in template " << id;
            }
        }
    }
    // The placeholder is replaced wherever it stands, and a name that contains it is not replaced again.
    const String text = qx::ui::manifestText(u"ExeNameExeName", 103);
    EXPECT_NE(text.find(u"name=\"ExeNameExeName.exe\""), String::npos);
    EXPECT_EQ(text.find(u"ExeName.exe.exe"), String::npos);
    EXPECT_EQ(qx::ui::manifestText(u"MyApp", 101).find(u"MyApp"), String::npos);
}

TEST(Manifest, FolderEndingsOverwritingAndFailures) {
    qxtest::TempFolder dir("manifest");
    qx::clsQXGenRtns lib;
    const String file = dir / u"Tool.exe.manifest";
    // Without and with the trailing separator: the same file, never a doubled separator.
    String bare = dir.str();
    bare.pop_back();
    EXPECT_EQ(lib.CreateManifestFile(u"Tool", bare, 103), file);
    EXPECT_EQ(lib.CreateManifestFile(u"Tool", dir.str(), 103), file);

    // A longer existing file is replaced, not written over in part.
    dir.write(u"Tool.exe.manifest", std::string(4000, 'x'));
    EXPECT_EQ(lib.CreateManifestFile(u"Tool", dir.str(), 102), file);
    EXPECT_EQ(readBytes(std::filesystem::path(file)), expected("VistaRunAsAdminXPThemes.manifest"));

    // A folder that does not exist, or a name the system cannot take: "" and no error.
    EXPECT_EQ(lib.CreateManifestFile(u"Tool", dir / u"missing|deeper", 101), u"");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir / u"missing")));
    EXPECT_EQ(lib.CreateManifestFile(String(u"To\0ol", 5), dir.str(), 101), u"");
}

TEST(Manifest, InitXPStylesWritesTheHostsOwnManifest) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        // No host application object yet: the error reaches the caller.
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.InitXPStyles(103));

        qxtest::TempFolder dir("manifest");
        String folder = dir.str();
        folder.pop_back();  // the host's Path has no trailing separator
        qx::state().HostApp = qx::host::makeApp(u"MyApp", folder, u"My App", u"Acme", 1, 0, 0);
        EXPECT_NO_THROW(lib.InitXPStyles(103));
        EXPECT_EQ(readBytes(std::filesystem::path(dir / u"MyApp.exe.manifest")), expected("VistaRunAsAdmin-MyApp.manifest"));

        // A folder that cannot take the file is no error here either.
        qx::state().HostApp = qx::host::makeApp(u"MyApp", dir / u"gone", u"My App", u"Acme", 1, 0, 0);
        EXPECT_NO_THROW(lib.InitXPStyles(101));
        qx::state().HostApp = nullptr;
    });
}

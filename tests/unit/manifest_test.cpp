// Manifest files: each template's bytes as written for an executable,
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
    const auto written = [&] { return readBytes(std::filesystem::path(file)); };

    // Only the third template names the executable; the others keep their fixed names.
    EXPECT_EQ(lib.CreateManifestFile(u"MyApp", dir.str(), 101), file);
    EXPECT_EQ(written(), expected("XPThemes.manifest"));
    EXPECT_EQ(lib.CreateManifestFile(u"MyApp", dir.str(), 102), file);
    EXPECT_EQ(written(), expected("VistaRunAsAdminXPThemes.manifest"));
    EXPECT_EQ(lib.CreateManifestFile(u"MyApp", dir.str(), 103), file);  // shorter: replaces the longer file whole
    EXPECT_EQ(written(), expected("VistaRunAsAdmin-MyApp.manifest"));
    for (int id : {7, 0, -101, 104}) {  // any other number is the first template
        EXPECT_EQ(lib.CreateManifestFile(u"MyApp", dir.str(), static_cast<std::int16_t>(id)), file);
        EXPECT_EQ(written(), expected("XPThemes.manifest")) << "Id " << id;
    }

    // The placeholder is replaced wherever it stands, and a name holding it is not replaced again.
    const String text = qx::ui::manifestText(u"ExeNameExeName", 103);
    EXPECT_NE(text.find(u"name=\"ExeNameExeName.exe\""), String::npos);
    EXPECT_EQ(text.find(u"ExeName.exe.exe"), String::npos);
}

TEST(Manifest, FolderEndingsAndFailures) {
    qxtest::TempFolder dir("manifest");
    qx::clsQXGenRtns lib;
    String bare = dir.str();
    bare.pop_back();
    // With and without the trailing separator: the same file, never a doubled separator.
    EXPECT_EQ(lib.CreateManifestFile(u"Tool", bare, 103), dir / u"Tool.exe.manifest");
    EXPECT_EQ(lib.CreateManifestFile(u"Tool", dir.str(), 103), dir / u"Tool.exe.manifest");
    // A folder that does not exist, or a name the system cannot take: "" and no error.
    EXPECT_EQ(lib.CreateManifestFile(u"Tool", dir / u"missing|deeper", 101), u"");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir / u"missing")));
    EXPECT_EQ(lib.CreateManifestFile(String(u"To\0ol", 5), dir.str(), 101), u"");
}

TEST(Manifest, InitXPStylesWritesTheHostsOwnManifest) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.InitXPStyles(103));  // no host application object yet

        qxtest::TempFolder dir("manifest");
        String folder = dir.str();
        folder.pop_back();  // the host's Path has no trailing separator
        qx::state().HostApp = qx::host::makeApp(u"MyApp", folder, u"My App", u"Acme", 1, 0, 0);
        EXPECT_NO_THROW(lib.InitXPStyles(103));
        EXPECT_EQ(readBytes(std::filesystem::path(dir / u"MyApp.exe.manifest")),
                  expected("VistaRunAsAdmin-MyApp.manifest"));
        qx::state().HostApp = qx::host::makeApp(u"MyApp", dir / u"gone", u"My App", u"Acme", 1, 0, 0);
        EXPECT_NO_THROW(lib.InitXPStyles(101));  // a folder that cannot take the file is no error
        qx::state().HostApp = nullptr;
    });
}

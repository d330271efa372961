// Manifest files: each template's bytes as written, compared with the expected files; the
// file's name and place, overwriting, and what a failure gives.
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

namespace {
std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
std::string expected(const char* name) {
    return readBytes(std::filesystem::path(QX_TEST_DATA_DIR) / "manifests" / (std::string(name) + ".manifest"));
}
}  // namespace

TEST(Manifest, EachTemplateIsWrittenByteForByteWhereverTheFolderEnds) {
    qxtest::runOnFreshThread([] {
        qxtest::TempFolder dir("manifest");
        qx::clsQXGenRtns lib;
        qx::String bare = dir.str();
        bare.pop_back();  // without the trailing separator: the same file, never a doubled separator
        const qx::String file = dir / u"MyApp.exe.manifest";
        // Only the third template names the executable; any unknown number is the first.
        for (auto [id, name] :
             {std::pair{102, "VistaRunAsAdminXPThemes"}, {103, "VistaRunAsAdmin-MyApp"}, {7, "XPThemes"}}) {
            const qx::String folder = id == 103 ? bare : dir.str();
            EXPECT_EQ(lib.CreateManifestFile(u"MyApp", folder, static_cast<std::int16_t>(id)), file);
            EXPECT_EQ(readBytes(std::filesystem::path(file)), expected(name)) << id;
        }
        // The placeholder is replaced wherever it stands, and a name holding it is not replaced again.
        const qx::String text = qx::ui::manifestText(u"ExeNameExeName", 103);
        EXPECT_NE(text.find(u"name=\"ExeNameExeName.exe\""), qx::String::npos);

        EXPECT_EQ(lib.CreateManifestFile(u"Tool", dir / u"missing", 101), u"");  // no such folder: no error
        // The host's own manifest, in its folder.
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.InitXPStyles(103));  // no host application object yet
        qx::state().HostApp = qx::host::makeApp(u"Host", bare, u"My App", u"Acme", 1, 0, 0);
        lib.InitXPStyles(101);
        EXPECT_EQ(readBytes(std::filesystem::path(dir / u"Host.exe.manifest")), expected("XPThemes"));
    });
}

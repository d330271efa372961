// The Windows port of the path routines: the attribute filter of FileExists,
// short and long names, the fixed buffers, the temporary path and probe file.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "core/error.h"
#include "files/paths.h"
#include "files/paths_sys.h"
#include "sysinfo/special_folders_sys.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::TempFolder;
namespace files = qx::files;
namespace fs = std::filesystem;

namespace {
// Runs in another current folder for one scope.
class InFolder {
public:
    explicit InFolder(const String& path) : old_(files::sys::currentFolder()) { fs::current_path(fs::path(path)); }
    ~InFolder() { fs::current_path(fs::path(old_)); }

private:
    String old_;
};
}  // namespace

TEST(WinFileExists, AttributeFilter) {
    TempFolder t("qx_attr");
    t.write(u"plain.ini");
    t.write(u"readonly.ini");
    ASSERT_TRUE(SetFileAttributesA(qx::toNarrow(t / u"plain.ini").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(qx::toNarrow(t / u"readonly.ini").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(files::fileExists(t / u"PLAIN.INI"));
    EXPECT_TRUE(files::fileExists(t / u"readonly.ini"));
    EXPECT_TRUE(files::fileExists(t / u"*.ini"));  // past the hidden entry to a plain one
}

TEST(WinNames, ShortNamesAndFixedBuffers) {
    TempFolder t("qx_short");
    const String folder = files::getLongName(t.path().u16string()) + u"\\A long folder name";
    const String file = folder + u"\\ab\\Another long file name.text";
    t.write(u"A long folder name|ab|Another long file name.text");
    // "ab" has two characters: the short folder left of it stays as given.
    const String shortFile = files::getShortName(file);
    const String shortFolder = files::getShortName(folder);
    ASSERT_EQ(shortFile.substr(0, shortFolder.size() + 4), shortFolder + u"\\ab\\");
    EXPECT_EQ(files::getLongName(shortFile), shortFolder + u"\\ab\\Another long file name.text");
    // Canonical forms of 255 characters or more do not fit, nor sources of MAX_PATH.
    const String fits = u"C:\\" + String(251, u'y');
    EXPECT_EQ(files::getAbsolutePath(fits), fits);
    EXPECT_EQ(files::getAbsolutePath(fits + u"z"), u"");
    String climbs;
    for (int i = 0; i < 52; ++i) climbs += u"a\\..\\";
    EXPECT_EQ(files::getAbsolutePath(u"C:\\" + climbs + u"x"), u"");
    // GetLongName: a full path beyond 255 characters raises 5.
    InFolder here(folder);
    EXPECT_EQ(files::getLongName(u".\\..\\A long folder name\\ab"), folder + u"\\ab");
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::getLongName(String(250, u'r')));
}

TEST(WinSpecialFolders, LongTemporaryPathAndProbeFileErrors) {
    TempFolder t("qx_probe");
    EXPECT_RAISES(qx::err::PathNotFound, qx::sysinfo::sys::createEmptyFile(t / u"missing|x.tmp"));
    EXPECT_RAISES(qx::err::PathFileAccessError, qx::sysinfo::sys::createEmptyFile(t.path().u16string()));
    // A temporary path beyond the 100-character buffer gives none.
    qxtest::EnvVar tmp("TMP", "C:\\" + std::string(120, 't') + "\\");
    EXPECT_EQ(qx::sysinfo::sys::tempPath(), u"");
}

// The Windows port of the path routines and the special folders: the
// attribute filter of FileExists, short and long names through the system,
// the fixed buffers of GetAbsolutePath and GetLongName, root-relative and
// share paths in CreateFolders, the shell's folders and the probe file.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "core/error.h"
#include "core/hostapp.h"
#include "files/paths.h"
#include "files/paths_sys.h"
#include "sysinfo/special_folders.h"
#include "sysinfo/special_folders_sys.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::TempFolder;
namespace files = qx::files;
namespace fs = std::filesystem;
using qx::sysinfo::sys::specialFolderPath;

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
    EXPECT_FALSE(files::fileExists(u"C:\\windows"));
    EXPECT_FALSE(files::fileExists(u"C:\\bad<name>|.txt"));
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
    EXPECT_LT(shortFolder.size(), folder.size());
    EXPECT_EQ(files::getLongName(shortFile), shortFolder + u"\\ab\\Another long file name.text");
    EXPECT_EQ(files::getLongName(shortFolder), folder);

    EXPECT_EQ(files::getAbsolutePath(u"C:\\.."), u"C:\\");
    EXPECT_EQ(files::getAbsolutePath(u"\\\\server\\share\\x\\..\\y"), u"\\\\server\\share\\y");
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
    ASSERT_GT(folder.size() + 1 + 250, 255u);
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::getLongName(String(250, u'r')));
}

TEST(WinCreateFolders, RootRelativeAndSharePaths) {
    TempFolder t("qx_mk");
    const String base = t.path().u16string();
    const String name = u"qx_rootrel_" + qx::toDecimal(GetCurrentProcessId());
    {
        // A path from the root goes to the current drive's root; a share's
        // server and name are never made, nor anything below them here.
        InFolder here(base);
        files::createFolders(u"\\" + name + u"\\inner\\");
        files::createFolders(u"\\\\qxnoserver\\noshare\\x\\");
        EXPECT_TRUE(fs::is_empty(t.path()));
    }
    const fs::path onRoot = fs::path(base.substr(0, 2) + u"\\" + name);
    EXPECT_TRUE(fs::is_directory(onRoot / "inner"));
    fs::remove_all(onRoot);
    // A long-path prefix "\\?\C:\" opens the path like a share.
    files::createFolders(u"\\\\?\\" + base + u"\\long\\path\\");
    EXPECT_TRUE(fs::is_directory(t.path() / "long" / "path"));
}

TEST(WinSpecialFolders, ShellFoldersAndLongTemporaryPath) {
    // The same answers as the wide shell function, without a trailing backslash.
    for (const int n : {26, 28, 35, 36, 37, 40, 42, 43}) {
        wchar_t w[MAX_PATH] = {};
        ASSERT_EQ(SHGetFolderPathW(nullptr, n, nullptr, 0, w), S_OK) << n;
        EXPECT_TRUE(qx::equalsNoCase(specialFolderPath(n), reinterpret_cast<const char16_t*>(w))) << n;
        EXPECT_NE(specialFolderPath(n).back(), u'\\') << n;
    }
    EXPECT_EQ(specialFolderPath(17), u"");  // a virtual folder without a file-system path

    // A temporary path beyond the 100-character buffer: the probe goes to the current folder.
    const String exe = u"qx_win_probe_" + qx::toDecimal(GetCurrentProcessId());
    TempFolder t("qx_longtmp");
    const String here = files::getLongName(t.path().u16string());
    char oldTmp[MAX_PATH + 1] = {};
    const DWORD hadTmp = GetEnvironmentVariableA("TMP", oldTmp, MAX_PATH);
    SetEnvironmentVariableA("TMP", ("C:\\" + std::string(120, 't') + "\\").c_str());
    EXPECT_EQ(qx::sysinfo::sys::tempPath(), u"");
    {
        InFolder cwd(here);
        const auto r = qx::sysinfo::getSpecialFolders(qx::host::makeApp(exe, u"", u"", u"QX Co", 1, 0, 0));
        EXPECT_EQ(r->UserProfileTempFolder(), here + u"\\");
        EXPECT_EQ(r->SystemDrive(), u"C:");
    }
    SetEnvironmentVariableA("TMP", hadTmp ? oldTmp : nullptr);
    EXPECT_TRUE(files::fileExists(here + u"\\" + exe + u".tmp"));
    EXPECT_RAISES(qx::err::PathNotFound, qx::sysinfo::sys::createEmptyFile(here + u"\\missing\\x.tmp"));
    EXPECT_RAISES(qx::err::PathFileAccessError, qx::sysinfo::sys::createEmptyFile(here));
}

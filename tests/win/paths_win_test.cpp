// The Windows port of the path routines and the special folders: the
// attribute filter of FileExists on hidden, system and read-only files,
// short and long names through the system, the fixed buffers of
// GetAbsolutePath and GetLongName, root-relative and share paths in
// CreateFolders, the shell's folders and the probe file.
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
std::string narrow(const String& s) { return qx::toNarrow(s); }

bool folderExists(const String& path) {
    const DWORD a = GetFileAttributesA(narrow(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

String currentFolder() {
    char buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return qx::fromNarrow(buffer);
}

// Runs in another current folder for one scope.
class InFolder {
public:
    explicit InFolder(const String& path) : old_(currentFolder()) {
        EXPECT_TRUE(SetCurrentDirectoryA(narrow(path).c_str())) << narrow(path);
    }
    ~InFolder() { SetCurrentDirectoryA(narrow(old_).c_str()); }

private:
    String old_;
};

void setAttributes(const String& path, DWORD a) { ASSERT_TRUE(SetFileAttributesA(narrow(path).c_str(), a)); }
}  // namespace

TEST(WinFileExists, AttributeFilterAndRoots) {
    TempFolder t("qx_attr");
    for (const char16_t* n : {u"plain.ini", u"hidden.ini", u"system.ini", u"readonly.ini"}) t.write(n);
    setAttributes(t / u"hidden.ini", FILE_ATTRIBUTE_HIDDEN);
    setAttributes(t / u"system.ini", FILE_ATTRIBUTE_SYSTEM);
    setAttributes(t / u"readonly.ini", FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(files::fileExists(t / u"PLAIN.INI"));
    EXPECT_FALSE(files::fileExists(t / u"hidden.ini"));
    EXPECT_FALSE(files::fileExists(t / u"system.ini"));
    EXPECT_TRUE(files::fileExists(t / u"readonly.ini"));
    EXPECT_FALSE(files::fileExists(t / u"h*.ini"));
    EXPECT_TRUE(files::fileExists(t / u"r*"));
    // The search goes past hidden and system entries to a plain one.
    setAttributes(t / u"readonly.ini", FILE_ATTRIBUTE_NORMAL);
    setAttributes(t / u"plain.ini", FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(files::fileExists(t / u"p*"));
    EXPECT_TRUE(files::fileExists(t / u"*.ini"));
    setAttributes(t / u"plain.ini", FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(files::fileExists(u"C:\\"));
    EXPECT_FALSE(files::fileExists(u"C:\\windows"));
    EXPECT_TRUE(files::fileExists(u"C:\\windows\\system32\\*.dll"));
    EXPECT_FALSE(files::fileExists(u"Q:\\no\\such\\drive.txt"));
    EXPECT_FALSE(files::fileExists(u"C:\\bad<name>|.txt"));
}

TEST(WinNames, ShortNamesRoundTripAndTwoCharacterStop) {
    TempFolder t("qx_short");
    const String folder = files::getLongName(t.path().u16string()) + u"\\A long folder name";
    const String file = folder + u"\\ab\\Another long file name.text";
    t.write(u"A long folder name|ab|Another long file name.text");

    const String shortFile = files::getShortName(file);
    ASSERT_NE(shortFile, u"");
    EXPECT_LT(shortFile.size(), file.size());
    EXPECT_TRUE(files::fileExists(shortFile));
    EXPECT_EQ(files::getLongName(files::getShortName(folder)), folder);
    EXPECT_EQ(files::getShortName(folder + u"\\missing.txt"), u"");
    // "ab" has two characters: the short folder left of it stays as given.
    const String shortFolder = files::getShortName(folder);
    ASSERT_EQ(shortFile.substr(0, shortFolder.size() + 4), shortFolder + u"\\ab\\");
    EXPECT_EQ(files::getLongName(shortFile), shortFolder + u"\\ab\\Another long file name.text");
    {
        InFolder here(folder);
        EXPECT_EQ(files::getLongName(u".\\..\\A long folder name\\ab"), folder + u"\\ab");
    }
    EXPECT_EQ(files::getLongName(u"C:\\"), u"C:\\");
}

TEST(WinNames, FixedBuffers) {
    EXPECT_EQ(files::getAbsolutePath(u"C:\\a\\.\\b\\..\\c"), u"C:\\a\\c");
    EXPECT_EQ(files::getAbsolutePath(u"C:\\.."), u"C:\\");
    EXPECT_EQ(files::getAbsolutePath(u"\\\\server\\share\\x\\..\\y"), u"\\\\server\\share\\y");
    // Canonical forms of 255 characters or more do not fit: "".
    const String fits = u"C:\\" + String(251, u'y');
    EXPECT_EQ(files::getAbsolutePath(fits), fits);
    EXPECT_EQ(files::getAbsolutePath(fits + u"z"), u"");
    EXPECT_EQ(files::getAbsolutePath(u"C:\\" + String(300, u'x')), u"");

    // GetLongName: a full path beyond 255 characters raises 5.
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::getLongName(u"C:\\" + String(260, u'q')));
    TempFolder t("qx_buf");
    InFolder here(t.path().u16string());
    const String relative(250, u'r');
    ASSERT_GT(currentFolder().size() + 1 + relative.size(), 255u);
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::getLongName(relative));
    EXPECT_EQ(files::sys::fullPathName(u"C:\\x\\..\\y"), u"C:\\y");
}

TEST(WinCreateFolders, RootRelativeAndSharePaths) {
    TempFolder t("qx_mk");
    const String base = t.path().u16string();
    const String name = u"qx_rootrel_" + qx::toDecimal(GetCurrentProcessId());
    {
        // A path from the root goes to the current drive's root.
        InFolder here(base);
        files::createFolders(u"\\" + name + u"\\inner\\");
        EXPECT_FALSE(folderExists(base + u"\\" + name));
        // A share's server and name are never made, nor anything below them here.
        EXPECT_NO_THROW(files::createFolders(u"\\\\qxnoserver\\noshare\\x\\"));
        EXPECT_TRUE(fs::is_empty(t.path()));
    }
    const String onRoot = base.substr(0, 2) + u"\\" + name;
    EXPECT_TRUE(folderExists(onRoot + u"\\inner"));
    RemoveDirectoryA(narrow(onRoot + u"\\inner").c_str());
    RemoveDirectoryA(narrow(onRoot).c_str());
    // A long-path prefix "\\?\C:\" opens the path like a share.
    files::createFolders(u"\\\\?\\" + base + u"\\long\\path\\");
    EXPECT_TRUE(folderExists(base + u"\\long\\path"));
}

TEST(WinSpecialFolders, ShellFoldersOfThisSystem) {
    const String user = specialFolderPath(40);
    EXPECT_TRUE(qx::startsWithNoCase(user, u"C:\\users\\")) << qx::toUtf8(user);
    EXPECT_TRUE(qx::equalsNoCase(specialFolderPath(28), user + u"\\AppData\\Local"));
    EXPECT_TRUE(qx::equalsNoCase(specialFolderPath(36), u"C:\\windows"));
    EXPECT_TRUE(qx::equalsNoCase(specialFolderPath(43), u"C:\\Program Files\\Common Files"));
    // The same answers as the wide shell function, without a trailing backslash.
    for (const int n : {26, 28, 35, 36, 37, 40, 42, 43}) {
        wchar_t w[MAX_PATH] = {};
        ASSERT_EQ(SHGetFolderPathW(nullptr, n, nullptr, 0, w), S_OK) << n;
        EXPECT_TRUE(qx::equalsNoCase(specialFolderPath(n), reinterpret_cast<const char16_t*>(w))) << n;
        EXPECT_NE(specialFolderPath(n).back(), u'\\') << n;
    }
    // A virtual folder without a file-system path, and an unknown number.
    EXPECT_EQ(specialFolderPath(17), u"");  // CSIDL_DRIVES
    EXPECT_EQ(specialFolderPath(0x7F), u"");
}

TEST(WinSpecialFolders, RecordProbeFileAndLongTemporaryPath) {
    const String exe = u"qx_win_probe_" + qx::toDecimal(GetCurrentProcessId());
    const auto host = qx::host::makeApp(exe, u"", u"", u"QX Co", 1, 0, 0);
    auto r = qx::sysinfo::getSpecialFolders(host);
    EXPECT_EQ(r->SystemDrive(), u"C:");
    EXPECT_TRUE(qx::equalsNoCase(r->WindowsSystemFolder(), u"C:\\windows\\system32\\"));
    EXPECT_TRUE(qx::equalsNoCase(r->ProgramFilesFolder(), specialFolderPath(42) + u"\\"));
    EXPECT_TRUE(
        qx::equalsNoCase(r->UserProfileTempFolder(), files::getLongName(fs::temp_directory_path().u16string())));
    const String probe = r->UserProfileTempFolder() + exe + u".tmp";
    EXPECT_EQ(fs::file_size(fs::path(probe)), 0u);
    DeleteFileA(narrow(probe).c_str());

    // A temporary path beyond the 100-character buffer: the probe goes to the current folder.
    TempFolder t("qx_longtmp");
    const String here = files::getLongName(t.path().u16string());
    const std::string longTemp = "C:\\" + std::string(120, 't') + "\\";
    char oldTmp[MAX_PATH + 1] = {};
    const DWORD hadTmp = GetEnvironmentVariableA("TMP", oldTmp, MAX_PATH);
    SetEnvironmentVariableA("TMP", longTemp.c_str());
    EXPECT_EQ(qx::sysinfo::sys::tempPath(), u"");
    {
        InFolder cwd(here);
        r = qx::sysinfo::getSpecialFolders(host);
    }
    SetEnvironmentVariableA("TMP", hadTmp ? oldTmp : nullptr);
    EXPECT_EQ(r->UserProfileTempFolder(), here + u"\\");
    EXPECT_TRUE(files::fileExists(here + u"\\" + exe + u".tmp"));
}

TEST(WinSpecialFolders, ProbeFileErrors) {
    TempFolder t("qx_probeerr");
    const String base = t.path().u16string();
    using qx::sysinfo::sys::createEmptyFile;
    EXPECT_RAISES(qx::err::PathNotFound, createEmptyFile(base + u"\\missing\\x.tmp"));
    EXPECT_RAISES(qx::err::PathFileAccessError, createEmptyFile(base));
    t.write(u"old.tmp", "content");
    createEmptyFile(base + u"\\old.tmp");
    EXPECT_EQ(fs::file_size(t.path() / "old.tmp"), 0u);
}

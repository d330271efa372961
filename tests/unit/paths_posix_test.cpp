// The POSIX port of the path routines and the special folders: dot-files are
// hidden, only regular files are plain files, wildcards follow the Windows
// rules over a directory listing, there are no short names, and the shell's
// folders come from the XDG variables, the home folder and fixed places.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "core/error.h"
#include "core/hostapp.h"
#include "files/paths.h"
#include "sysinfo/special_folders.h"
#include "sysinfo/special_folders_sys.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::EnvVar;
using qxtest::TempFolder;
namespace files = qx::files;
namespace fs = std::filesystem;
using qx::sysinfo::sys::specialFolderPath;

namespace {
// Runs in another current folder for one scope.
class InFolder {
public:
    explicit InFolder(const fs::path& p) : old_(fs::current_path()) { fs::current_path(p); }
    ~InFolder() { fs::current_path(old_); }

private:
    fs::path old_;
};
}  // namespace

TEST(PosixFileExists, DotFilesHideFromWildcardsOnlyAndEntryKinds) {
    TempFolder t("qx_hidden");
    t.write(u".hidden");
    t.write(u".config|app.ini");
    EXPECT_TRUE(files::fileExists(t / u".hidden")) << "a name given in full is found";
    EXPECT_FALSE(files::fileExists(t / u"*"));
    EXPECT_FALSE(files::fileExists(t / u".h*"));
    EXPECT_FALSE(files::fileExists(t.str()));
    EXPECT_TRUE(files::fileExists(t / u".config/*.ini"));  // only the entry itself counts

    t.write(u"target.txt");
    ASSERT_EQ(::mkfifo(qx::toNarrow(t / u"pipe").c_str(), 0600), 0);
    fs::create_symlink(t.path() / "target.txt", t.path() / "link.txt");
    fs::create_symlink(t.path() / "gone.txt", t.path() / "dangling.txt");
    fs::create_directory_symlink(t.path(), t.path() / "folderlink");
    EXPECT_TRUE(files::fileExists(t / u"link.txt"));
    EXPECT_FALSE(files::fileExists(t / u"pipe"));
    EXPECT_FALSE(files::fileExists(t / u"d*"));
    EXPECT_FALSE(files::fileExists(t / u"folderlink"));
    EXPECT_TRUE(files::fileExists(t / u"*"));
}

TEST(PosixFileExists, WildcardsIgnoreCaseLiteralNamesDoNot) {
    TempFolder t("qx_case");
    t.write(u"Settings.INI");
    EXPECT_TRUE(files::fileExists(t / u"settings.*"));
    EXPECT_TRUE(files::fileExists(t / u"Settings.INI"));
    EXPECT_FALSE(files::fileExists(t / u"settings.ini"));
    InFolder here(t.path());
    EXPECT_TRUE(files::fileExists(u"*.ini"));
    EXPECT_FALSE(files::fileExists(u"*.txt"));
}

TEST(PosixPaths, ShortLongAndAbsoluteNames) {
    TempFolder t("qx_names");
    t.write(u"dir|A long file name.text");
    const String base = fs::canonical(t.path()).u16string();
    const String file = base + u"/dir/A long file name.text";
    EXPECT_EQ(files::getShortName(file), file);
    EXPECT_EQ(files::getShortName(base + u"/missing"), u"");
    fs::create_symlink(t.path() / "gone", t.path() / "broken");
    EXPECT_EQ(files::getShortName(base + u"/broken"), base + u"/broken");

    EXPECT_EQ(files::getLongName(base + u"/dir/./../dir/A long file name.text"), file);
    {
        InFolder here(t.path() / "dir");
        EXPECT_EQ(files::getLongName(u"../dir/A long file name.text"), file);
        EXPECT_EQ(files::getLongName(u"."), base + u"/dir");
    }
    EXPECT_EQ(files::getLongName(u"/"), u"/");
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::getLongName(u""));
    // A full path of 255 characters or more does not fit GetLongName's buffer.
    const String deep = u"/" + String(200, u'a') + u"/" + String(52, u'b');
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::getLongName(deep + u"c"));
    EXPECT_EQ(files::getLongName(deep), deep) << "254 characters fit";
    // A name holding a NUL names nothing.
    EXPECT_RAISES(qx::err::FileNotFound, files::getLongName(file + String(1, u'\0')));
    EXPECT_FALSE(files::fileExists(file + String(1, u'\0') + u"x"));
    EXPECT_EQ(files::getShortName(file + String(1, u'\0')), u"");
    EXPECT_EQ(files::getAbsolutePath(u"../x/./y"), u"../x/y");
    EXPECT_EQ(files::getAbsolutePath(u"a\\.\\b"), u"a\\.\\b");  // "\" is a name character here

    files::createFolders(base + u"/one/two/");
    EXPECT_TRUE(fs::is_directory(t.path() / "one" / "two"));
}

TEST(PosixSpecialFolders, XdgHomeAndFixedFolders) {
    TempFolder t("qx_xdg");
    const std::string root = t.path().string();
    const String r16 = qx::fromNarrow(root);
    {
        EnvVar home("HOME", root + "/home/");
        EnvVar data("XDG_DATA_HOME", root + "/data/");
        EnvVar config("XDG_CONFIG_HOME", root + "/config");
        EXPECT_EQ(specialFolderPath(28), r16 + u"/data");
        EXPECT_EQ(specialFolderPath(26), r16 + u"/config");
        EXPECT_EQ(specialFolderPath(40), r16 + u"/home");
    }
    {
        // Relative or empty XDG values are ignored.
        EnvVar home("HOME", root);
        EnvVar data("XDG_DATA_HOME", std::string("relative/data"));
        EnvVar config("XDG_CONFIG_HOME", std::string(""));
        EXPECT_EQ(specialFolderPath(28), r16 + u"/.local/share");
        EXPECT_EQ(specialFolderPath(26), r16 + u"/.config");
    }
    {
        // Without HOME the password database names the home folder.
        EnvVar home("HOME", std::nullopt);
        const String profile = specialFolderPath(40);
        ASSERT_FALSE(profile.empty());
        EXPECT_TRUE(fs::is_directory(fs::path(profile)));
    }
    EXPECT_EQ(specialFolderPath(35), fs::is_directory("/var/lib") ? u"/var/lib" : u"");
    EXPECT_EQ(specialFolderPath(42), fs::is_directory("/opt") ? u"/opt" : u"");
    for (const int n : {36, 37, 43, 0, 38}) EXPECT_EQ(specialFolderPath(n), u"") << n;
    {
        EnvVar tmp("TMPDIR", std::string("/var/tmp"));
        EXPECT_EQ(qx::sysinfo::sys::tempPath(), u"/var/tmp/");
    }
    EnvVar tmp("TMPDIR", std::nullopt);
    EXPECT_EQ(qx::sysinfo::sys::tempPath(), u"/tmp/");
}

TEST(PosixSpecialFolders, RecordAndProbeErrors) {
    TempFolder t("qx_record");
    const std::string root = t.path().string();
    const String r16 = qx::fromNarrow(root);
    EnvVar home("HOME", root);
    EnvVar data("XDG_DATA_HOME", std::nullopt);
    EnvVar config("XDG_CONFIG_HOME", root + "/cfg");
    const auto host = qx::host::makeApp(u"Tool", u"", u"", u"Maker", 1, 0, 0);
    {
        EnvVar tmp("TMPDIR", root);
        const auto r = qx::sysinfo::getSpecialFolders(host);
        EXPECT_EQ(r->ApplicationDataFolderLocal(), r16 + u"/.local/share/Maker/Tool/");
        EXPECT_EQ(r->ApplicationDataFolderRoaming(), r16 + u"/cfg/Maker/Tool/");
        EXPECT_EQ(r->UserProfileFolder(), r16 + u"/");
        EXPECT_EQ(r->WindowsFolder() + r->WindowsSystemFolder() + r->SystemDrive() + r->CommonFilesFolder(), u"");
        EXPECT_EQ(r->UserProfileTempFolder(), r16 + u"/");
        EXPECT_EQ(fs::file_size(t.path() / "Tool.tmp"), 0u);
    }
    {
        EnvVar tmp("TMPDIR", root + "/missing");
        EXPECT_RAISES(qx::err::PathNotFound, qx::sysinfo::getSpecialFolders(host));
    }
    {
        // A temporary path that does not fit in 100 characters leaves the
        // buffer empty: the probe goes to the current folder.
        const fs::path longTmp = t.path() / std::string(100, 't');
        fs::create_directory(longTmp);
        fs::create_directory(t.path() / "cwd");
        EnvVar tmp("TMPDIR", longTmp.string());
        InFolder here(t.path() / "cwd");
        const auto r = qx::sysinfo::getSpecialFolders(host);
        EXPECT_EQ(r->UserProfileTempFolder(), r16 + u"/cwd/");
        EXPECT_TRUE(fs::is_regular_file(t.path() / "cwd" / "Tool.tmp"));
        EXPECT_FALSE(fs::exists(longTmp / "Tool.tmp"));
        const std::string fits = "/" + std::string(97, 'f');  // 99 characters with the separator added
        EnvVar fitting("TMPDIR", fits);
        EXPECT_EQ(qx::sysinfo::sys::tempPath(), qx::fromUtf8(fits + "/"));
    }
    fs::remove(t.path() / "Tool.tmp");
    fs::create_directory(t.path() / "Tool.tmp");  // a folder where the probe file belongs
    EnvVar tmp("TMPDIR", root);
    EXPECT_RAISES(qx::err::PathFileAccessError, qx::sysinfo::getSpecialFolders(host));
}

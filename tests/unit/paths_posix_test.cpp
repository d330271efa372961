// The POSIX port of the path routines and the special folders: dot-files,
// plain files, no short names, and the XDG folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/error.h"
#include "files/paths.h"
#include "sysinfo/special_folders_sys.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::EnvVar;
using qxtest::TempFolder;
namespace files = qx::files;
namespace fs = std::filesystem;

TEST(PosixPaths, FileExistsShortLongAndAbsoluteNames) {
    TempFolder t("qx_names");
    t.write(u".hidden");
    t.write(u"dir|Settings.INI");
    EXPECT_TRUE(files::fileExists(t / u".hidden")) << "a name given in full is found";
    EXPECT_FALSE(files::fileExists(t / u"*"));
    ASSERT_EQ(::mkfifo(qx::toNarrow(t / u"pipe").c_str(), 0600), 0);
    fs::create_symlink(t.path() / "gone.txt", t.path() / "dangling.txt");
    fs::create_symlink(t.path() / "dir" / "Settings.INI", t.path() / "link.txt");
    EXPECT_FALSE(files::fileExists(t / u"p*") || files::fileExists(t / u"d*"));
    EXPECT_TRUE(files::fileExists(t / u"l*"));
    EXPECT_TRUE(files::fileExists(t / u"dir|settings.*"));
    EXPECT_FALSE(files::fileExists(t / u"dir|settings.ini"));  // a name given in full keeps its case

    const String base = fs::canonical(t.path()).u16string();
    const String file = base + u"/dir/Settings.INI";
    EXPECT_EQ(files::getShortName(file), file);
    EXPECT_EQ(files::getShortName(file + String(1, u'\0')), u"");
    const fs::path old = fs::current_path();
    fs::current_path(t.path() / "dir");
    EXPECT_EQ(files::getLongName(u"../dir/Settings.INI"), file);
    fs::current_path(old);
    EXPECT_RAISES(qx::err::FileNotFound, files::getLongName(file + String(1, u'\0')));
    EXPECT_EQ(files::getAbsolutePath(u"a\\.\\b"), u"a\\.\\b");  // "\" is a name character here
    EXPECT_EQ(files::getAbsolutePath(u"/" + String(300, u'x') + u"/.."), u"/");  // no buffer bounds it
}

TEST(PosixSpecialFolders, XdgHomeAndFixedFolders) {
    using qx::sysinfo::sys::specialFolderPath;
    const std::string root = TempFolder("qx_xdg").path().string();
    EnvVar home("HOME", root + "/home/");
    EnvVar data("XDG_DATA_HOME", root + "/data/");
    EnvVar config("XDG_CONFIG_HOME", std::string("relative/config"));  // ignored
    EXPECT_EQ(specialFolderPath(28), qx::fromNarrow(root + "/data"));
    EXPECT_EQ(specialFolderPath(26), qx::fromNarrow(root + "/home/.config"));
    EXPECT_EQ(specialFolderPath(40), qx::fromNarrow(root + "/home"));
    EXPECT_EQ(specialFolderPath(36), u"");  // no Windows folder
}

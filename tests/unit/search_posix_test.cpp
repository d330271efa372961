// The POSIX directory search: the root, links to folders (never followed),
// and more subfolders than a 16-bit count holds (the overflow error).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/error.h"
#include "files/search.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::TempFolder;
namespace files = qx::files;
namespace fs = std::filesystem;

TEST(SearchPosix, RootLinksAndMoreThan32767Subfolders) {
    EXPECT_EQ(files::doesExist(u"/"), 0);  // the root lists no "." to answer 2 with
    TempFolder t("search");
    t.write(u"Real|x.bin");
    fs::create_directories(fs::path(t / u"Top"));
    fs::create_directory_symlink(fs::path(t / u"Real"), fs::path(t / u"Top|link"));
    fs::create_directory_symlink(fs::path(t / u"Top"), fs::path(t / u"Top|loop"));
    String top = t / u"Top";
    EXPECT_EQ(files::findFiles(top, u"x.bin"), u"");

    // 32,768 folders are made on a memory file system, where that is quick.
    if (!fs::is_directory("/dev/shm")) GTEST_SKIP() << "no /dev/shm";
    char pattern[] = "/dev/shm/qx_search_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string base = std::string(pattern) + "/";
    for (int i = 0; i < 32768; ++i) ASSERT_EQ(::mkdir((base + std::to_string(i)).c_str(), 0755), 0);
    String over = qx::fromNarrow(base);
    EXPECT_RAISES(qx::err::Overflow, files::findFiles(over, u"nothing.here"));
    ASSERT_EQ(::rmdir((base + "0").c_str()), 0);
    EXPECT_EQ(files::findFiles(over, u"nothing.here"), u"");  // 32,767 fit
    fs::remove_all(base);
}

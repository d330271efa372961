// The POSIX side of the file access object: creation times from the birth
// time, error texts from the C library, and files nobody may write to.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "files/clsFileAccess.h"
#include "files/file_access_sys.h"
#include "files/file_times.h"
#include "temp_folder.h"

using qxtest::TempFolder;
namespace files = qx::files;

TEST(FileAccessPosix, CreationTimeErrorTextsAndReadOnlyFiles) {
    TempFolder t("times");
    t.write(u"c.txt");
    const std::string path = std::filesystem::path(t / u"c.txt").string();
    struct statx sx {};
    ASSERT_EQ(::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx), 0);
    const statx_timestamp& born = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_ctime;
    EXPECT_EQ(files::ticksOf(files::getFileDateTime(t / u"c.txt").ctime),
              files::ticksOf(files::fileTimeFromUnix(born.tv_sec, static_cast<std::int32_t>(born.tv_nsec))));
    EXPECT_EQ(qx::GetSystemErrorText(ENOENT), qx::fromNarrow(std::strerror(ENOENT)));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(files::sys::openReadWrite(t / u"c.txt"), files::sys::kNoHandle);
    EXPECT_EQ(files::sys::lastError(), static_cast<std::uint32_t>(EACCES));
    EXPECT_EQ(files::ticksOf(files::getFileDateTime(t / u"c.txt").wtime), 0u);
    // A read-only handle reads the times but cannot change them (on Windows
    // setting times needs write access; Wine does not check it).
    qx::clsFileAccess f;
    ASSERT_EQ(f.OpenFileReadOnly(t / u"c.txt"), 0);
    qx::FileDateTimeInfo times;
    EXPECT_NE(f.ReturnFileTime(times), 0);
    EXPECT_EQ(f.ChangeFileTime(qx::FileDateTimeInfo{{}, {}, files::fileTimeFromUnix(1000, 0)}), 0);
}

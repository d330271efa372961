// The POSIX side of the file access object: the creation time it reports
// (birth time, or the status change time where the file system keeps none)
// and cannot set, error texts from the C library, and a file that grants
// nobody write access refusing read-write opens.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/types.h"
#include "files/clsFileAccess.h"
#include "files/file_access_sys.h"
#include "files/file_times.h"
#include "temp_folder.h"

using qx::String;
using qxtest::TempFolder;
namespace files = qx::files;

TEST(FileAccessPosix, CreationTimeIsReportedButNotSet) {
    TempFolder t("times");
    t.write(u"c.txt");
    const std::string path = std::filesystem::path(t / u"c.txt").string();
    struct statx sx {};
    ASSERT_EQ(::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx), 0);
    const statx_timestamp& born = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_ctime;
    const qx::FileDateTimeInfo info = files::getFileDateTime(t / u"c.txt");
    EXPECT_EQ(files::ticksOf(info.ctime),
              files::ticksOf(files::fileTimeFromUnix(born.tv_sec, static_cast<std::int32_t>(born.tv_nsec))));

    qx::FileDateTimeInfo change = info;
    change.ctime = files::fileTimeFromUnix(1000000000, 0);
    files::setFileDateTime(t / u"c.txt", change);
    if (sx.stx_mask & STATX_BTIME) {
        EXPECT_EQ(files::ticksOf(files::getFileDateTime(t / u"c.txt").ctime), files::ticksOf(info.ctime));
    }
}

TEST(FileAccessPosix, ErrorTextsComeFromTheCLibrary) {
    EXPECT_EQ(qx::GetSystemErrorText(ENOENT), qx::fromNarrow(std::strerror(ENOENT)));
    EXPECT_EQ(files::sys::systemMessage(EACCES), qx::fromNarrow(std::strerror(EACCES)));
}

TEST(FileAccessPosix, FileWithoutWritePermissionRefusesReadWriteOpens) {
    TempFolder t("access");
    t.write(u"locked.txt");
    const std::string path = std::filesystem::path(t / u"locked.txt").string();
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    errno = 0;
    EXPECT_EQ(files::sys::openReadWrite(t / u"locked.txt"), files::sys::kNoHandle);
    EXPECT_EQ(files::sys::lastError(), static_cast<std::uint32_t>(EACCES));
    // A read-only handle reads the times but cannot change them (on Windows
    // setting times needs write access; Wine does not check it).
    qx::clsFileAccess f;
    ASSERT_EQ(f.OpenFileReadOnly(t / u"locked.txt"), 0);
    qx::FileDateTimeInfo viaHandle;
    EXPECT_NE(f.ReturnFileTime(viaHandle), 0);
    EXPECT_EQ(f.ChangeFileTime(qx::FileDateTimeInfo{{}, {}, files::fileTimeFromUnix(1000, 0)}), 0);
    f.CloseFile();

    // So its times read as zeros by name and cannot be set by name.
    const qx::FileDateTimeInfo info = files::getFileDateTime(t / u"locked.txt");
    EXPECT_EQ(files::ticksOf(info.wtime), 0u);
    EXPECT_EQ(files::ticksOf(info.ctime) | files::ticksOf(info.atime), 0u);
    files::setFileDateTime(t / u"locked.txt", qx::FileDateTimeInfo{{}, {}, files::fileTimeFromUnix(1000, 0)});
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_NE(st.st_mtime, 1000);
}

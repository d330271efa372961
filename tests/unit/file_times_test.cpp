// File times by name: the FILETIME count and its conversions, reading the
// times of a new file, setting two of the three and leaving a zero time
// alone, copying times between files, and the read-only file that reads as
// all zeros. Compiled into the native and the Windows test binaries.
#include "files/file_times.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/clsQXGenRtns.h"
#include "core/state.h"
#include "files/clsFileAccess.h"
#include "temp_folder.h"

using qx::String;
using qxtest::TempFolder;
namespace files = qx::files;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000ull;
// 2001-02-03 04:05:06.789 UTC and 1999-12-31 23:59:58 UTC as FILETIME counts.
constexpr std::uint64_t kEarly = (981173106ull * kTicksPerSecond + 7890000ull) + 116444736000000000ull;
constexpr std::uint64_t kEarlier = 946684798ull * kTicksPerSecond + 116444736000000000ull;

std::uint64_t nowTicks() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100) +
           116444736000000000ull;
}

bool isZero(const qx::FILETIME& t) { return t.dwLowDateTime == 0 && t.dwHighDateTime == 0; }

}  // namespace

TEST(FileTimeRecord, CountsAndConversions) {
    // The halves are signed 32-bit fields; the count takes them as unsigned.
    const qx::FILETIME t{-1, 1};
    EXPECT_EQ(files::ticksOf(t), 0x1FFFFFFFFull);
    const qx::FILETIME back = files::fileTimeOf(0x1FFFFFFFFull);
    EXPECT_EQ(back.dwLowDateTime, -1);
    EXPECT_EQ(back.dwHighDateTime, 1);

    EXPECT_EQ(files::ticksOf(files::fileTimeFromUnix(0, 0)), 116444736000000000ull);
    EXPECT_EQ(files::ticksOf(files::fileTimeFromUnix(981173106, 789000000)), kEarly);
    EXPECT_EQ(files::ticksOf(files::fileTimeFromUnix(-1, 999999900)), 116444735999999999ull);
    EXPECT_TRUE(isZero(files::fileTimeFromUnix(-20000000000LL, 0)));  // before 1601

    std::int64_t s = 0;
    std::int32_t ns = 0;
    files::unixFromFileTime(files::fileTimeOf(kEarly), s, ns);
    EXPECT_EQ(s, 981173106);
    EXPECT_EQ(ns, 789000000);
    files::unixFromFileTime(files::fileTimeOf(116444735999999999ull), s, ns);
    EXPECT_EQ(s, -1);
    EXPECT_EQ(ns, 999999900);
}

TEST(FileDateTime, MissingFileIsCreatedWithFreshTimes) {
    TempFolder t("times");
    const String name = t / u"new.txt";
    const std::uint64_t before = nowTicks();
    qx::clsQXGenRtns lib;
    const qx::FileDateTimeInfo info = lib.GetFileDateTime(name);
    const std::uint64_t after = nowTicks();
    ASSERT_TRUE(fs::is_regular_file(fs::path(name)));
    EXPECT_EQ(fs::file_size(fs::path(name)), 0u);
    // File systems keep times at their own resolution: two seconds of slack.
    for (const qx::FILETIME* ft : {&info.ctime, &info.atime, &info.wtime}) {
        EXPECT_GE(files::ticksOf(*ft) + 2 * kTicksPerSecond, before);
        EXPECT_LE(files::ticksOf(*ft), after + 2 * kTicksPerSecond);
    }
}

TEST(FileDateTime, SetsTimesLeavesZeroTimesAndCopiesBetweenFiles) {
    TempFolder t("times");
    t.write(u"a.txt", "a");
    t.write(u"b.txt", "b");
    const String a = t / u"a.txt";
    const String b = t / u"b.txt";
    qx::clsQXGenRtns lib;
    const qx::FileDateTimeInfo original = lib.GetFileDateTime(a);

    // Only the last-write time: the other two are given as 0.
    qx::FileDateTimeInfo onlyWrite;
    onlyWrite.wtime = files::fileTimeOf(kEarly);
    lib.SetFileDateTime(a, onlyWrite);
    qx::FileDateTimeInfo read = lib.GetFileDateTime(a);
    EXPECT_EQ(files::ticksOf(read.wtime), kEarly);
    EXPECT_EQ(files::ticksOf(read.atime), files::ticksOf(original.atime));
    // (The creation time is not compared: Wine reports the earlier of the
    // last-write and status-change times as it, and a POSIX file system
    // without birth times the status-change time.)

    // The system sees the same last-write time.
    const auto systemWrite = fs::last_write_time(fs::path(a));
    lib.SetFileDateTime(a, qx::FileDateTimeInfo{{}, files::fileTimeOf(kEarlier), {}});
    read = lib.GetFileDateTime(a);
    EXPECT_EQ(files::ticksOf(read.atime), kEarlier);
    EXPECT_EQ(files::ticksOf(read.wtime), kEarly);
    EXPECT_EQ(fs::last_write_time(fs::path(a)), systemWrite);

    // A record read from one file and written to another gives it the same times.
    lib.SetFileDateTime(b, read);
    const qx::FileDateTimeInfo copied = lib.GetFileDateTime(b);
    EXPECT_EQ(files::ticksOf(copied.atime), kEarlier);
    EXPECT_EQ(files::ticksOf(copied.wtime), kEarly);
}

TEST(FileDateTime, UnreachableFilesGiveZerosAndReadOnlyHandlesReadTimes) {
    TempFolder t("times");
    t.write(u"ro.txt", "r");
    const String ro = t / u"ro.txt";
    qx::clsQXGenRtns lib;
    const qx::FileDateTimeInfo before = lib.GetFileDateTime(ro);

    const qx::FileDateTimeInfo missing = lib.GetFileDateTime(t / u"no folder|x.txt");
    EXPECT_TRUE(isZero(missing.ctime) && isZero(missing.atime) && isZero(missing.wtime));
    EXPECT_FALSE(fs::exists(fs::path(t / u"no folder")));
    const qx::FileDateTimeInfo folder = lib.GetFileDateTime(t.str());
    EXPECT_TRUE(isZero(folder.ctime) && isZero(folder.atime) && isZero(folder.wtime));

    // The object's own calls: a read-only handle reads the times.
    qx::clsFileAccess f;
    ASSERT_EQ(f.OpenFileReadOnly(ro), 0);
    qx::FileDateTimeInfo viaHandle;
    EXPECT_NE(f.ReturnFileTime(viaHandle), 0);
    EXPECT_EQ(files::ticksOf(viaHandle.wtime), files::ticksOf(before.wtime));
}

// File times by name: the FILETIME count and its conversions, setting some
// times and leaving zero ones alone. Native and Windows test binaries.
#include "files/file_times.h"

#include <gtest/gtest.h>

#include <chrono>

#include "core/clsQXGenRtns.h"
#include "temp_folder.h"

using qx::String;
using qxtest::TempFolder;
namespace files = qx::files;

namespace {
constexpr std::uint64_t kEpoch = 116444736000000000ull;  // 1970-01-01 as a FILETIME count
// 2001-02-03 04:05:06.789 UTC and 1999-12-31 23:59:58 UTC.
constexpr std::uint64_t kEarly = 9811731067890000ull + kEpoch;
constexpr std::uint64_t kEarlier = 9466847980000000ull + kEpoch;
}  // namespace

TEST(FileTimeRecord, CountsAndConversions) {
    // The halves are signed 32-bit fields; the count takes them as unsigned.
    EXPECT_EQ(files::ticksOf(qx::FILETIME{-1, 1}), 0x1FFFFFFFFull);
    EXPECT_EQ(files::ticksOf(files::fileTimeFromUnix(981173106, 789000000)), kEarly);
    EXPECT_EQ(files::ticksOf(files::fileTimeFromUnix(-1, 999999900)), kEpoch - 1);
    EXPECT_EQ(files::ticksOf(files::fileTimeFromUnix(-20000000000LL, 0)), 0u);  // before 1601
    std::int64_t s = 0;
    std::int32_t ns = 0;
    files::unixFromFileTime(files::fileTimeOf(kEpoch - 1), s, ns);
    EXPECT_EQ(s, -1);
    EXPECT_EQ(ns, 999999900);
}

TEST(FileDateTime, NewFilesSetTimesAndZeroTimesLeftAlone) {
    TempFolder t("times");
    const String a = t / u"a.txt";
    qx::clsQXGenRtns lib;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const qx::FileDateTimeInfo original = lib.GetFileDateTime(a);  // a missing file is created
    // File systems keep times at their own resolution: two seconds of slack.
    EXPECT_NEAR(static_cast<double>(files::ticksOf(original.wtime) - kEpoch) / 1e7,
                std::chrono::duration<double>(now).count(), 2.0);
    // Only the last-write time, then only the last-access time: the others are given as 0.
    lib.SetFileDateTime(a, qx::FileDateTimeInfo{{}, {}, files::fileTimeOf(kEarly)});
    EXPECT_EQ(files::ticksOf(lib.GetFileDateTime(a).atime), files::ticksOf(original.atime));
    lib.SetFileDateTime(a, qx::FileDateTimeInfo{{}, files::fileTimeOf(kEarlier), {}});
    const qx::FileDateTimeInfo read = lib.GetFileDateTime(a);
    EXPECT_EQ(files::ticksOf(read.atime), kEarlier);
    EXPECT_EQ(files::ticksOf(read.wtime), kEarly);
    const qx::FileDateTimeInfo missing = lib.GetFileDateTime(t / u"no folder|x.txt");
    EXPECT_EQ(files::ticksOf(missing.ctime) | files::ticksOf(missing.atime) | files::ticksOf(missing.wtime), 0u);
}

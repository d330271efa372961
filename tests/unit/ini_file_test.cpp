// The INI file layer's rules: how a save treats the file it finds, which
// folder entries are save files and whose, when a load's stamp is trusted.
#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <tuple>

#include "ini/ini_engine.h"
#include "ini/ini_file_sys.h"
#include "temp_folder.h"

namespace ini = qx::ini;
namespace sys = qx::ini::sys;
using namespace std::chrono_literals;

namespace {

TEST(IniFileRules, SaveWayFollowsTheFileFound) {
    using W = sys::SaveWay;
    // exists, folder, read-only, hidden, another's, links, may create in folder -> way
    const std::tuple<int, int, int, int, int, std::uint32_t, bool, W> rows[] = {
        {0, 0, 0, 0, 0, 0, false, W::Replace},  // a new file: made by the rename too
        {1, 0, 0, 0, 0, 1, true, W::Replace},   {1, 1, 0, 0, 0, 1, true, W::Leave},
        {1, 0, 1, 0, 0, 1, true, W::Leave},     {1, 0, 0, 1, 0, 1, true, W::Leave},
        {1, 0, 0, 0, 0, 2, true, W::InPlace},   // a rename would split the links
        {1, 0, 0, 0, 1, 1, true, W::InPlace},   // a new file would be the caller's
        {1, 0, 0, 0, 0, 1, false, W::InPlace},
    };
    for (const auto& [exists, folder, readOnly, hidden, otherOwner, links, mayCreate, way] : rows) {
        sys::FileInfo i;
        i.exists = exists;
        i.folder = folder;
        i.readOnly = readOnly;
        i.hidden = hidden;
        i.otherOwner = otherOwner;
        i.links = links;
        EXPECT_EQ(sys::saveWayFor(i, mayCreate), way) << exists << folder << readOnly << hidden << otherOwner << links;
    }
}

TEST(IniFileRules, SaveFilesNameTheirWriter) {
    const std::string mine = sys::saveFileName("app.v2.ini", 4711, 0x00c0ffee12345678ull);
    EXPECT_EQ(mine, ".app.v2.ini.4711.00c0ffee12345678.tmp");
    EXPECT_EQ(sys::saveFileWriter(mine), 4711u);
    EXPECT_EQ(sys::saveFileWriter(sys::saveFileName("a", 1, 0)), 1u);
    for (const char* other : {"app.ini", ".app.ini.x.tmp", "..4711.00c0ffee12345678.tmp", ".a.4711.00c0ffee1234567.tmp",
                              ".a.47x1.00c0ffee12345678.tmp", ".a.4711.00C0FFEE12345678.tmp",
                              ".a.4711.00c0ffee12345678.tmp~", ".a.4711_00c0ffee12345678.tmp",
                              ".a.1234567890.00c0ffee12345678.tmp"})
        EXPECT_EQ(sys::saveFileWriter(other), 0u) << other;
}

TEST(IniFileRules, OnlyASettledChangeTimeMakesAStampTrusted) {
    sys::FileInfo i;
    i.size = 10;
    i.changed = 50000000;
    const std::uint64_t settled = i.changed + 1000000;  // 100 ms later
    EXPECT_FALSE(sys::stampOf(i, settled).cacheable);
    EXPECT_TRUE(sys::stampOf(i, settled + 1).cacheable);
    EXPECT_TRUE(sys::stampOf(i, settled + 1) == sys::stampOf(i, settled + 99));
    sys::FileInfo grown = i;
    grown.size = 11;
    EXPECT_FALSE(sys::stampOf(i, settled + 1) == sys::stampOf(grown, settled + 1));
    sys::FileInfo noChangeTime = i;
    noChangeTime.changed = 0;
    EXPECT_FALSE(sys::stampOf(noChangeTime, settled + 1) == sys::stampOf(noChangeTime, settled + 1));
}

TEST(IniFileRules, AHeldLockExcludesOtherThreadsUpToTheWaitLimit) {
    qxtest::TempFolder dir;
    const qx::String file = dir.file("held.ini");
    std::promise<void> taken, release;
    std::thread holder([&] {
        const ini::IniLock outer(file);
        { const ini::IniLock nested(file); }  // a thread never waits for itself
        taken.set_value();
        release.get_future().wait();
    });
    taken.get_future().wait();
    const auto limit = ini::IniLock::waitLimit();
    ini::IniLock::setWaitLimit(300ms);
    const auto start = std::chrono::steady_clock::now();
    ini::writeIniString(u"S", u"A", u"1", file);
    const auto waited = std::chrono::steady_clock::now() - start;
    ini::IniLock::setWaitLimit(limit);
    release.set_value();
    holder.join();
    EXPECT_GE(waited, 250ms) << "the lock did not hold";
    EXPECT_LT(waited, 5s) << "the call waited for the hung holder";
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", file), u"1");
}

}  // namespace

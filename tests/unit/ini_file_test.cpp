// The INI file layer's rules: how a save treats the file it finds, which
// folder entries are save files and whose, when a load's stamp is trusted.
#include <gtest/gtest.h>

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
    // {exists, folder, read-only, hidden, another user's, links}, may create in its folder -> way
    const std::tuple<sys::FileInfo, bool, W> rows[] = {
        {{false, false, false, false, false, 0}, false, W::Replace},  // a new file: made by the rename too
        {{true, false, false, false, false, 1}, true, W::Replace},
        {{true, true, false, false, false, 1}, true, W::Leave},
        {{true, false, true, false, false, 1}, true, W::Leave},
        {{true, false, false, true, false, 1}, true, W::Leave},
        {{true, false, false, false, false, 2}, true, W::InPlace},  // a rename would split the links
        {{true, false, false, false, true, 1}, true, W::InPlace},   // a new file would be the caller's
        {{true, false, false, false, false, 1}, false, W::InPlace},
    };
    int row = 0;
    for (const auto& [info, mayCreate, way] : rows)
        EXPECT_EQ(sys::saveWayFor(info, mayCreate), way) << "row " << row++;
}

TEST(IniFileRules, SaveFilesNameTheirWriter) {
    const std::string mine = sys::saveFileName("app.v2.ini", 4711, 0x00c0ffee12345678ull);
    EXPECT_EQ(mine, ".app.v2.ini.4711.00c0ffee12345678.tmp");
    EXPECT_EQ(sys::saveFileWriter(mine), 4711u);
    for (const char* other : {".app.ini.x.tmp", "..4711.00c0ffee12345678.tmp", ".a.47x1.00c0ffee12345678.tmp"})
        EXPECT_EQ(sys::saveFileWriter(other), 0u) << other;
}

TEST(IniFileRules, OnlyASettledChangeTimeMakesAStampTrusted) {
    sys::FileInfo i;
    i.changed = 50000000;
    const std::uint64_t settled = i.changed + 1000000;  // 100 ms later
    EXPECT_FALSE(sys::stampOf(i, settled).cacheable);
    EXPECT_TRUE(sys::stampOf(i, settled + 1) == sys::stampOf(i, settled + 99));
    i.changed = 0;  // no change time: never trusted
    EXPECT_FALSE(sys::stampOf(i, settled + 1) == sys::stampOf(i, settled + 1));
}

TEST(IniFileRules, AHeldLockExcludesOtherThreadsUpToTheWaitLimit) {
    qxtest::TempFolder dir;
    const qx::String file = dir.file("held.ini");
    const auto limit = ini::IniLock::waitLimit();
    ini::IniLock::setWaitLimit(300ms);
    std::chrono::steady_clock::duration waited{};
    {
        const ini::IniLock outer(file);
        const ini::IniLock nested(file);  // a thread never waits for itself
        std::thread([&] {
            const auto start = std::chrono::steady_clock::now();
            ini::writeIniString(u"S", u"A", u"1", file);
            waited = std::chrono::steady_clock::now() - start;
        }).join();
    }
    ini::IniLock::setWaitLimit(limit);
    EXPECT_GE(waited, 250ms) << "the lock did not hold";
    EXPECT_LT(waited, 5s) << "the call waited for the hung holder";
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", file), u"1");
}

}  // namespace

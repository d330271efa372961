// The INI file layer on POSIX, where only the real file system shows it: a
// writer killed at any moment leaves the old file or the new one, whole, and
// a save keeps the file's identity.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>

#include "ini/ini_engine.h"
#include "ini_support.h"

using qx::String;
namespace ini = qx::ini;
using qxtest::iniBody;
using qxtest::iniIntactCounter;

namespace {

TEST(IniProcessesPosix, KilledWriterNeverLeavesADamagedFile) {
    qxtest::TempFolder dir;
    const String file = dir.file("crash.ini");
    ini::writeIniSection(u"S", iniBody(0), file);
    std::mt19937 rng(20261205);
    int counter = 0;
    // Kills at a random moment of a window that widens while no save completes
    // (a loaded machine, a sanitizer build) and narrows again while they do.
    unsigned window = 3000;
    for (int kills = 1; counter < 1000; ++kills) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int n = iniIntactCounter(qxtest::readBytes(dir.path("crash.ini")));
            for (;;) ini::writeIniSection(u"S", iniBody(++n), file);
        }
        usleep(static_cast<useconds_t>(rng() % window));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const int now = iniIntactCounter(qxtest::readBytes(dir.path("crash.ini")));
        ASSERT_GE(now, counter) << "after kill " << kills << " the file is damaged or went back";
        window = now > counter ? std::max(window / 2, 3000u) : std::min(window * 2, 2000000u);
        counter = now;
    }
    // A dead writer's lock keeps no one waiting; a new writer's first save
    // clears what the killed ones left beside the file, and nothing else.
    qxtest::writeBytes(dir.path(".crash.ini.1.00112233aabbccdd.tmp"), "a live writer's");
    const pid_t last = fork();
    if (last == 0) _exit(ini::writeIniSection(u"S", iniBody(counter + 1), file) ? 0 : 1);
    waitpid(last, nullptr, 0);
    EXPECT_EQ(iniIntactCounter(qxtest::readBytes(dir.path("crash.ini"))), counter + 1);
    std::set<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) left.insert(e.path().filename());
    EXPECT_EQ(left, (std::set<std::string>{"crash.ini", ".crash.ini.1.00112233aabbccdd.tmp"}));
}

TEST(IniFilePosix, SaveKeepsModeLinksAndWritesThroughSymbolicLinks) {
    qxtest::TempFolder dir;
    namespace fs = std::filesystem;
    fs::create_directory(dir.path("real"));
    qxtest::writeBytes(dir.path("real") / "a.ini", "[S]\r\nA=1\r\n");
    fs::permissions(dir.path("real") / "a.ini", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/a.ini", dir.path("link.ini"));
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", dir.file("link.ini")));
    EXPECT_TRUE(fs::is_symlink(dir.path("link.ini")));
    EXPECT_EQ(qxtest::readBytes(dir.path("real") / "a.ini"), "\r\n[S]\r\n\r\nA=2\r\n");
    EXPECT_EQ(fs::status(dir.path("real") / "a.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A hard-linked file is rewritten in place: both names see the change.
    fs::create_hard_link(dir.path("real") / "a.ini", dir.path("b.ini"));
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"3", dir.file("b.ini")));
    EXPECT_EQ(qxtest::readBytes(dir.path("real") / "a.ini"), "\r\n[S]\r\n\r\nA=3\r\n");
    EXPECT_EQ(fs::hard_link_count(dir.path("b.ini")), 2u);
}

}  // namespace

// The INI file layer on POSIX, where only the real file system shows it: a
// writer killed at any moment leaves the old file or the new one, whole, and
// a save keeps the file's identity (its mode, a symbolic link to it).
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

namespace {

TEST(IniProcessesPosix, KilledWriterNeverLeavesADamagedFileAndSavesKeepItsIdentity) {
    qxtest::TempFolder dir;
    namespace fs = std::filesystem;
    // Written as a save would: this process's first save in the folder comes last.
    qxtest::writeBytes(dir.path("crash.ini"), "[S]\r\n\r\n" + qx::toUtf8(qxtest::iniBody(0)) + "\r\n");
    fs::permissions(dir.path("crash.ini"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("crash.ini", dir.path("link.ini"));  // writers save through it: its target is written
    const String file = dir.file("link.ini");
    std::mt19937 rng(20261205);
    int counter = 0;
    // Kills at a random moment of a window that widens while no save completes
    // (a loaded machine, a sanitizer build) and narrows again while they do.
    unsigned window = 3000;
    for (int kills = 1; counter < 1000; ++kills) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int n = qxtest::iniIntactCounter(qxtest::readBytes(dir.path("crash.ini")));
            for (;;) ini::writeIniSection(u"S", qxtest::iniBody(++n), file);
        }
        usleep(static_cast<useconds_t>(rng() % window));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const int now = qxtest::iniIntactCounter(qxtest::readBytes(dir.path("crash.ini")));
        ASSERT_GE(now, counter) << "after kill " << kills << " the file is damaged or went back";
        ASSERT_TRUE(fs::is_symlink(dir.path("link.ini"))) << "the save replaced the link, not its target";
        window = now > counter ? std::max(window / 2, 3000u) : std::min(window * 2, 2000000u);
        counter = now;
    }
    // A dead writer's lock keeps no one waiting; a writer's first save in the
    // folder clears what the killed ones left beside the file, and nothing else.
    qxtest::writeBytes(dir.path(".crash.ini.1.00112233aabbccdd.tmp"), "a live writer's");
    EXPECT_TRUE(ini::writeIniSection(u"S", qxtest::iniBody(counter + 1), file));
    EXPECT_EQ(qxtest::iniIntactCounter(qxtest::readBytes(dir.path("crash.ini"))), counter + 1);
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path())) left.insert(e.path().filename());
    EXPECT_EQ(left, (std::set<std::string>{"crash.ini", "link.ini", ".crash.ini.1.00112233aabbccdd.tmp"}));
    // A hard-linked file is rewritten in place: both names see the change.
    fs::create_hard_link(dir.path("crash.ini"), dir.path("b.ini"));
    EXPECT_TRUE(ini::writeIniSection(u"S", qxtest::iniBody(counter + 2), dir.file("b.ini")));
    EXPECT_EQ(qxtest::iniIntactCounter(qxtest::readBytes(dir.path("crash.ini"))), counter + 2);
    EXPECT_EQ(fs::status(dir.path("crash.ini")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace

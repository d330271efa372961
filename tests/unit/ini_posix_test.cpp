// The INI engine's guarantees between processes on POSIX: a writer killed at
// any moment leaves the old file or the new one, whole; concurrent writers of
// different keys lose nothing; and the file's own mode survives a save.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <set>

#include "ini/ini_engine.h"
#include "ini_support.h"
#include "test_support.h"

using qx::String;
namespace ini = qx::ini;
using qxtest::iniBody;
using qxtest::iniIntactCounter;

namespace {

TEST(IniProcessesPosix, KilledWriterNeverLeavesADamagedFile) {
    qxtest::TempDir dir;
    const String file = dir.file("crash.ini");
    ini::writeIniSection(u"S", iniBody(0), file);
    std::mt19937 rng(20261205);
    int counter = 0;
    int kills = 0;
    // A writer is killed at a random moment of a window that widens while kills
    // find no save completed (a loaded machine, or a sanitizer build where fork
    // and exit are slow) and narrows again while they do.
    unsigned window = 3000;
    while (counter < 1000) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int n = iniIntactCounter(qxtest::readBytes(dir.path("crash.ini")));
            for (;;) ini::writeIniSection(u"S", iniBody(++n), file);
        }
        usleep(static_cast<useconds_t>(rng() % window));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ++kills;
        const int now = iniIntactCounter(qxtest::readBytes(dir.path("crash.ini")));
        ASSERT_GE(now, counter) << "after kill " << kills << " the file is damaged or went back";
        window = now > counter ? std::max(window / 2, 3000u) : std::min(window * 2, 2000000u);
        counter = now;
    }
    EXPECT_GT(kills, 10);
    // The next writer is not kept waiting by a lock of a killed one.
    EXPECT_TRUE(ini::writeIniSection(u"S", iniBody(counter + 1), file));
    EXPECT_EQ(iniIntactCounter(qxtest::readBytes(dir.path("crash.ini"))), counter + 1);
}

TEST(IniProcessesPosix, ConcurrentWritersOfDistinctKeysLoseNothing) {
    qxtest::TempDir dir;
    const String file = dir.file("shared.ini");
    constexpr int kProcesses = 4;
    constexpr int kWrites = 250;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0; i < kWrites; ++i)
                ini::writeIniString(u"S", u"p" + qx::toDecimal(p) + u"k" + qx::toDecimal(i), qx::toDecimal(i), file);
            _exit(0);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<String> lines;
    ini::getSection(u"S", file, lines);
    const std::set<String> got(lines.begin(), lines.end());
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(kProcesses * kWrites));
    for (int p = 0; p < kProcesses; ++p)
        for (int i = 0; i < kWrites; ++i)
            EXPECT_TRUE(got.count(u"p" + qx::toDecimal(p) + u"k" + qx::toDecimal(i) + u"=" + qx::toDecimal(i)))
                << "p" << p << "k" << i << " was lost";
}

TEST(IniFilePosix, SaveKeepsTheFilesMode) {
    qxtest::TempDir dir;
    const auto path = dir.path("mode.ini");
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ini::writeIniString(u"S", u"A", u"2", dir.file("mode.ini"));
    EXPECT_EQ(qxtest::readBytes(path), "\r\n[S]\r\n\r\nA=2\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(IniFilePosix, HiddenFileReadsAsMissingAndIsNeverOverwritten) {
    qxtest::TempDir dir;
    const auto path = dir.path(".hidden.ini");
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", dir.file(".hidden.ini")), u"d");
    EXPECT_EQ(qxtest::readBytes(path), "[S]\r\nA=1\r\n");
}

TEST(IniFilePosix, UnreadableFileRaisesTheFileError) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    qxtest::TempDir dir;
    const auto path = dir.path("locked.ini");
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_RAISES(qx::err::PathFileAccessError, ini::getIniString(u"S", u"A", u"d", dir.file("locked.ini")));
}

}  // namespace

// The INI engine's guarantees between processes on POSIX: a writer killed at
// any moment leaves the old file or the new one, whole, and no file beside
// it for long; concurrent writers of different keys lose nothing; a save
// keeps the file's identity (mode, owner, links) and every byte of the lines
// it keeps; a hung lock holder does not block others for good.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <random>
#include <set>

#include "ini/ini_engine.h"
#include "ini/ini_file.h"
#include "ini_support.h"
#include "test_support.h"

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
    // The next writer is not kept waiting by a lock of a killed one, and its
    // save clears what the killed ones left beside the file.
    EXPECT_TRUE(ini::writeIniSection(u"S", iniBody(counter + 1), file));
    EXPECT_EQ(iniIntactCounter(qxtest::readBytes(dir.path("crash.ini"))), counter + 1);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "crash.ini") << "left behind";
}

pid_t deadProcess() {
    const pid_t pid = fork();
    if (pid == 0) _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

TEST(IniFilePosix, SaveRemovesLeftoversOfDeadWritersOnly) {
    qxtest::TempFolder dir;
    qxtest::writeBytes(dir.path("a.ini"), "[S]\r\nA=1\r\n");
    const std::string dead = std::to_string(deadProcess());
    const std::vector<std::string> gone{".a.ini." + dead + ".00112233aabbccdd.tmp", ".a.ini." + dead + ".7f3a.12.tmp"};
    const std::vector<std::string> kept{".a.ini.1.00112233aabbccdd.tmp",  // a running process
                                        ".b.ini." + dead + ".00112233aabbccdd.tmp", ".a.ini.x.tmp"};
    for (const auto& n : gone) qxtest::writeBytes(dir.path(n), "half");
    for (const auto& n : kept) qxtest::writeBytes(dir.path(n), "other");
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", dir.file("a.ini")));
    EXPECT_EQ(qxtest::readBytes(dir.path("a.ini")), "\r\n[S]\r\n\r\nA=2\r\n");
    for (const auto& n : gone) EXPECT_FALSE(std::filesystem::exists(dir.path(n))) << n;
    for (const auto& n : kept) EXPECT_TRUE(std::filesystem::exists(dir.path(n))) << n;
}

struct stat statOf(const std::filesystem::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st;
}

TEST(IniFilePosix, SaveThroughASymbolicLinkWritesItsTarget) {
    qxtest::TempFolder dir;
    std::filesystem::create_directory(dir.path("real"));
    qxtest::writeBytes(dir.path("real") / "app.ini", "[S]\r\nA=1\r\n");
    std::filesystem::create_symlink("real/app.ini", dir.path("link.ini"));
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", dir.file("link.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("link.ini")));
    EXPECT_EQ(qxtest::readBytes(dir.path("real") / "app.ini"), "\r\n[S]\r\n\r\nA=2\r\n");
    // A dangling link names the file to create.
    std::filesystem::create_symlink("real/new.ini", dir.path("new.ini"));
    EXPECT_FALSE(ini::writeIniString(u"S", u"B", u"1", dir.file("new.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("new.ini")));
    EXPECT_EQ(qxtest::readBytes(dir.path("real") / "new.ini"), "[S]\r\n\r\nB=1\r\n");
}

TEST(IniFilePosix, SaveKeepsHardLinksTogether) {
    qxtest::TempFolder dir;
    qxtest::writeBytes(dir.path("a.ini"), "[S]\r\nA=1\r\n");
    std::filesystem::create_hard_link(dir.path("a.ini"), dir.path("b.ini"));
    const ino_t inode = statOf(dir.path("a.ini")).st_ino;
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", dir.file("a.ini")));
    EXPECT_EQ(statOf(dir.path("a.ini")).st_ino, inode);
    EXPECT_EQ(qxtest::readBytes(dir.path("b.ini")), "\r\n[S]\r\n\r\nA=2\r\n");
}

// Runs fn as the user "nobody" in a child process; answers its exit code.
int asNobody(const std::function<int()>& fn) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
        _exit(fn());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST(IniFilePosix, WritableFileInAFolderWeMayNotWriteIsRewrittenInPlace) {
    qxtest::TempFolder dir;
    const auto folder = dir.path("locked");
    std::filesystem::create_directory(folder);
    qxtest::writeBytes(folder / "app.ini", "[S]\r\nA=1\r\n");
    const ino_t inode = statOf(folder / "app.ini").st_ino;
    const String file = qx::fromUtf8((folder / "app.ini").string());
    namespace fs = std::filesystem;
    fs::permissions(folder / "app.ini", fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    if (geteuid() == 0) {
        // root writes every folder: the test runs as another user.
        fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
        ASSERT_EQ(::chown((folder / "app.ini").c_str(), 65534, 65534), 0);
        EXPECT_EQ(asNobody([&] { return ini::writeIniString(u"S", u"A", u"2", file) ? 0 : 1; }), 0);
    } else {
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", file));
    }
    EXPECT_EQ(qxtest::readBytes(folder / "app.ini"), "\r\n[S]\r\n\r\nA=2\r\n");
    EXPECT_EQ(statOf(folder / "app.ini").st_ino, inode);
}

TEST(IniFilePosix, SaveKeepsAnotherUsersOwnership) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    qxtest::TempFolder dir;
    qxtest::writeBytes(dir.path("a.ini"), "[S]\r\nA=1\r\n");
    ASSERT_EQ(::chown(dir.path("a.ini").c_str(), 65534, 65534), 0);
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", dir.file("a.ini")));
    EXPECT_EQ(qxtest::readBytes(dir.path("a.ini")), "\r\n[S]\r\n\r\nA=2\r\n");
    EXPECT_EQ(statOf(dir.path("a.ini")).st_uid, 65534u);
    EXPECT_EQ(statOf(dir.path("a.ini")).st_gid, 65534u);
}

TEST(IniFilePosix, BytesThatAreNotUtf8SurviveASave) {
    qxtest::TempFolder dir;
    const auto path = dir.path("latin1.ini");
    qxtest::writeBytes(path, "[S]\r\nName=Ren\xE9\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"Name", u"d", dir.file("latin1.ini")), u"Ren\xDCE9");
    ini::writeIniString(u"S", u"Other", u"1", dir.file("latin1.ini"));
    EXPECT_EQ(qxtest::readBytes(path), "\r\n[S]\r\n\r\nName=Ren\xE9\r\nOther=1\r\n");
    // The value read writes back as the byte it was.
    ini::writeIniString(u"S", u"Copy", ini::getIniString(u"S", u"Name", u"d", dir.file("latin1.ini")),
                        dir.file("latin1.ini"));
    EXPECT_NE(qxtest::readBytes(path).find("Copy=Ren\xE9\r\n"), std::string::npos);

    // A binary file without a CR LF is one line, kept byte for byte.
    std::string blob;
    std::mt19937 rng(7);
    for (int i = 0; i < 65536; ++i) blob += static_cast<char>(rng() % 256);
    for (std::size_t i = 1; i < blob.size(); ++i)
        if (blob[i - 1] == '\r' && blob[i] == '\n') blob[i] = 'x';
    blob += 'z';
    qxtest::writeBytes(dir.path("blob.ini"), blob);
    ini::writeIniString(u"S", u"K", u"v", dir.file("blob.ini"));
    EXPECT_EQ(qxtest::readBytes(dir.path("blob.ini")), blob + "\r\n[S]\r\n\r\nK=v\r\n");
}

TEST(IniLockPosix, AHungHolderDelaysOthersOnlyUpToTheWaitLimit) {
    qxtest::TempFolder dir;
    const String file = dir.file("held.ini");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        ini::IniLock lock(file);
        (void)!write(ready[1], "x", 1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    const auto limit = ini::IniLock::waitLimit();
    ini::IniLock::setWaitLimit(std::chrono::milliseconds(300));
    auto call = std::async(std::launch::async, [&] { return ini::writeIniString(u"S", u"A", u"1", file); });
    const bool returned = call.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    ini::IniLock::setWaitLimit(limit);
    close(ready[0]);
    close(ready[1]);
    ASSERT_TRUE(returned) << "the call waited for the hung holder";
    EXPECT_FALSE(call.get());
    EXPECT_EQ(qxtest::readBytes(dir.path("held.ini")), "[S]\r\n\r\nA=1\r\n");
    // The holder's death freed the lock: the next call takes it (and removes its file).
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", file));
}

TEST(IniProcessesPosix, ConcurrentWritersOfDistinctKeysLoseNothing) {
    qxtest::TempFolder dir;
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
    qxtest::TempFolder dir;
    const auto path = dir.path("mode.ini");
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ini::writeIniString(u"S", u"A", u"2", dir.file("mode.ini"));
    EXPECT_EQ(qxtest::readBytes(path), "\r\n[S]\r\n\r\nA=2\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(IniFilePosix, DotFileNamedInFullIsAnOrdinaryFile) {
    qxtest::TempFolder dir;
    const String rc = dir.file(".apprc");
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"1", rc), u"1");
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"2", rc), u"1") << "what was written is read back";
    EXPECT_EQ(qxtest::readBytes(dir.path(".apprc")), "[S]\r\n\r\nA=1\r\n");
}

TEST(IniFilePosix, UnreadableFileRaisesTheFileError) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    qxtest::TempFolder dir;
    const auto path = dir.path("locked.ini");
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_RAISES(qx::err::PathFileAccessError, ini::getIniString(u"S", u"A", u"d", dir.file("locked.ini")));
}

}  // namespace

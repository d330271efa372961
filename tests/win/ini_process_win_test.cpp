// The INI engine's guarantees between processes on Windows: a writer ended
// with TerminateProcess at any moment leaves the old file or the new one,
// whole; concurrent writers of different keys lose nothing; a file another
// process holds open without sharing cannot be read (the runtime's error) and
// is not replaced.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <random>
#include <set>
#include <string>

#include "ini/ini_engine.h"
#include "child_process.h"
#include "ini_support.h"
#include "test_support.h"

using qx::String;
namespace ini = qx::ini;
using qxtest::iniBody;
using qxtest::iniIntactCounter;

namespace {

// The test binary doubles as the child process: started with
// "--qx-ini-child <role> <file> [n]" it plays that role and exits before
// the test framework starts.
struct ChildRole {
    ChildRole() {
        int argc = 0;
        LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
        if (!argv || argc < 4 || std::wstring(argv[1]) != L"--qx-ini-child") return;
        const std::wstring role = argv[2];
        const String file(reinterpret_cast<const char16_t*>(argv[3]));
        const int param = argc > 4 ? _wtoi(argv[4]) : 0;
        if (role == L"crash") {
            int n = iniIntactCounter(qxtest::readBytes(qx::toUtf8(file)));
            for (;;) ini::writeIniSection(u"S", iniBody(++n), file);
        }
        if (role == L"keys") {
            for (int i = 0; i < 250; ++i)
                ini::writeIniString(u"S", u"p" + qx::toDecimal(param) + u"k" + qx::toDecimal(i), qx::toDecimal(i), file);
        }
        ExitProcess(0);
    }
} g_childRole;

PROCESS_INFORMATION startChild(const std::string& role, const std::string& file, int param = 0) {
    return qxtest::startSelf("--qx-ini-child " + role + " \"" + file + "\" " + std::to_string(param));
}

TEST(IniProcessesWin, TerminatedWriterNeverLeavesADamagedFile) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("crash.ini").string();
    ini::writeIniSection(u"S", iniBody(0), qx::fromUtf8(path));
    std::mt19937 rng(20261205);
    int counter = 0;
    int kills = 0;
    while (counter < 1000 && kills < 300) {
        PROCESS_INFORMATION pi = startChild("crash", path);
        ASSERT_NE(pi.hProcess, nullptr);
        // Let the child start saving (a program takes a while to start), then
        // end it at a random moment of its run of saves.
        for (int i = 0; i < 400 && iniIntactCounter(qxtest::readBytes(path)) == counter; ++i) Sleep(5);
        Sleep(rng() % 100);
        TerminateProcess(pi.hProcess, 9);
        qxtest::waitForChild(pi);
        ++kills;
        const int now = iniIntactCounter(qxtest::readBytes(path));
        ASSERT_GE(now, counter) << "after kill " << kills << " the file is damaged or went back";
        counter = now;
    }
    EXPECT_GE(counter, 1000);
    EXPECT_GT(kills, 5);
    EXPECT_TRUE(ini::writeIniSection(u"S", iniBody(counter + 1), qx::fromUtf8(path)));
    EXPECT_EQ(iniIntactCounter(qxtest::readBytes(path)), counter + 1);
}

TEST(IniProcessesWin, ConcurrentWritersOfDistinctKeysLoseNothing) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("shared.ini").string();
    std::vector<PROCESS_INFORMATION> children;
    for (int p = 0; p < 4; ++p) {
        children.push_back(startChild("keys", path, p));
        ASSERT_NE(children.back().hProcess, nullptr);
    }
    for (auto& pi : children) EXPECT_EQ(qxtest::waitForChild(pi), 0u);
    std::vector<String> lines;
    ini::getSection(u"S", qx::fromUtf8(path), lines);
    const std::set<String> got(lines.begin(), lines.end());
    EXPECT_EQ(lines.size(), 1000u);
    for (int p = 0; p < 4; ++p)
        for (int i = 0; i < 250; ++i)
            EXPECT_TRUE(got.count(u"p" + qx::toDecimal(p) + u"k" + qx::toDecimal(i) + u"=" + qx::toDecimal(i)))
                << "p" << p << "k" << i << " was lost";
}

TEST(IniFileWin, FileHeldWithoutSharingCannotBeReadNorReplaced) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("held.ini").string();
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_RAISES(qx::err::PermissionDenied, ini::getIniString(u"S", u"A", u"d", qx::fromUtf8(path)));
    CloseHandle(h);
    EXPECT_EQ(qxtest::readBytes(path), "[S]\r\nA=1\r\n");
}

TEST(IniFileWin, HiddenFileReadsAsMissingAndIsNeverOverwritten) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("hidden.ini").string();
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", qx::fromUtf8(path)), u"d");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(qxtest::readBytes(path), "[S]\r\nA=1\r\n");
}

TEST(IniFileWin, SaveKeepsTheFilesAttributes) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("archive.ini").string();
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    if (!(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_NOT_CONTENT_INDEXED))
        GTEST_SKIP() << "this file system keeps no such attribute";
    ini::writeIniString(u"S", u"A", u"2", qx::fromUtf8(path));
    EXPECT_EQ(qxtest::readBytes(path), "\r\n[S]\r\n\r\nA=2\r\n");
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
}

}  // namespace

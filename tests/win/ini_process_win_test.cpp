// The INI engine's guarantees between processes on Windows: a writer ended
// with TerminateProcess at any moment leaves the old file or the new one,
// whole, and no file beside it for long; concurrent writers of different keys
// lose nothing; a file another process holds open without sharing cannot be
// read (the runtime's error) and is not replaced; every call sees what a load
// would see; a save keeps the file's identity.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <random>
#include <set>
#include <string>

#include "ini/ini_engine.h"
#include "ini/ini_file.h"
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
        if (role == L"hold") {
            // Holds the file's lock until the parent ends this process.
            ini::IniLock lock(file);
            std::fclose(std::fopen((qx::toUtf8(file) + ".held").c_str(), "w"));
            Sleep(INFINITE);
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
    // The next save clears what the ended writers left beside the file.
    EXPECT_TRUE(ini::writeIniSection(u"S", iniBody(counter + 1), qx::fromUtf8(path)));
    EXPECT_EQ(iniIntactCounter(qxtest::readBytes(path)), counter + 1);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "crash.ini") << "left behind";
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
    // Read twice, once the file has settled, so that it is known to the engine.
    Sleep(250);
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", qx::fromUtf8(path)), u"1");
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", qx::fromUtf8(path)), u"1");
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

FILETIME writeTimeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d);
    return d.ftLastWriteTime;
}

TEST(IniFileWin, EveryCallSeesAnOutsideRewriteThatKeepsSizeAndWriteTime) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("app.ini").string();
    const String file = qx::fromUtf8(path);
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    Sleep(250);
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", file), u"1");
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", file), u"1");
    // Another program rewrites it: same size, its write time put back.
    const FILETIME written = writeTimeOf(path);
    qxtest::writeBytes(path, "[S]\r\nA=2\r\n");
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &written));
    CloseHandle(h);
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", file), u"2");
    // A write after it keeps the outside change.
    ini::writeIniString(u"S", u"B", u"3", file);
    EXPECT_EQ(qxtest::readBytes(path), "\r\n[S]\r\n\r\nA=2\r\nB=3\r\n");
}

TEST(IniFileWin, SaveRemovesLeftoversOfDeadWritersAndNeverMeetsANameInUse) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("app.ini").string();
    const String file = qx::fromUtf8(path);
    qxtest::writeBytes(path, "[S]\r\n");
    PROCESS_INFORMATION pi = startChild("none", path);
    ASSERT_NE(pi.hProcess, nullptr);
    const DWORD deadPid = pi.dwProcessId;
    qxtest::waitForChild(pi);
    char name[64];
    wsprintfA(name, "~qxini%lx.%lx.0.tmp", deadPid, 1ul);
    const auto dead = dir.path(name);
    qxtest::writeBytes(dead.string(), "half");
    // Files named as this process and thread would name its saves.
    for (unsigned i = 0; i < 1200; ++i) {
        wsprintfA(name, "~qxini%lx.%lx.%x.tmp", GetCurrentProcessId(), GetCurrentThreadId(), i);
        qxtest::writeBytes(dir.path(name).string(), "");
    }
    for (int i = 0; i < 20; ++i) ini::writeIniString(u"S", u"k" + qx::toDecimal(i), u"v", file);
    std::vector<String> lines;
    ini::getSection(u"S", file, lines);
    EXPECT_EQ(lines.size(), 20u) << "every save landed";
    EXPECT_FALSE(std::filesystem::exists(dead)) << "the dead writer's file stays";
    wsprintfA(name, "~qxini%lx.%lx.%x.tmp", GetCurrentProcessId(), GetCurrentThreadId(), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir.path(name))) << "a live writer's file is not touched";
}

TEST(IniFileWin, SaveKeepsHardLinksAndCreationTime) {
    qxtest::TempFolder dir;
    const std::string a = dir.path("a.ini").string();
    const std::string b = dir.path("b.ini").string();
    qxtest::writeBytes(a, "[S]\r\nA=1\r\n");
    ASSERT_TRUE(CreateHardLinkA(b.c_str(), a.c_str(), nullptr));
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", qx::fromUtf8(a)));
    EXPECT_EQ(qxtest::readBytes(b), "\r\n[S]\r\n\r\nA=2\r\n");
    DeleteFileA(b.c_str());

    FILETIME old{};
    SYSTEMTIME st{2001, 2, 0, 3, 4, 5, 6, 0};
    SystemTimeToFileTime(&st, &old);
    HANDLE h = CreateFileA(a.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFileTime(h, &old, nullptr, nullptr);
    CloseHandle(h);
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExA(a.c_str(), GetFileExInfoStandard, &d);
    if (CompareFileTime(&d.ftCreationTime, &old) != 0) GTEST_SKIP() << "this file system keeps no creation time";
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"3", qx::fromUtf8(a)));
    GetFileAttributesExA(a.c_str(), GetFileExInfoStandard, &d);
    EXPECT_EQ(CompareFileTime(&d.ftCreationTime, &old), 0);
}

TEST(IniLockWin, AHungHolderDelaysOthersOnlyUpToTheWaitLimit) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("held.ini").string();
    PROCESS_INFORMATION pi = startChild("hold", path);
    ASSERT_NE(pi.hProcess, nullptr);
    for (int i = 0; i < 1000 && !std::filesystem::exists(path + ".held"); ++i) Sleep(10);
    ASSERT_TRUE(std::filesystem::exists(path + ".held"));
    const auto limit = ini::IniLock::waitLimit();
    ini::IniLock::setWaitLimit(std::chrono::milliseconds(300));
    auto call = std::async(std::launch::async, [&] { return ini::writeIniString(u"S", u"A", u"1", qx::fromUtf8(path)); });
    const bool returned = call.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    TerminateProcess(pi.hProcess, 9);
    qxtest::waitForChild(pi);
    ini::IniLock::setWaitLimit(limit);
    ASSERT_TRUE(returned) << "the call waited for the hung holder";
    EXPECT_FALSE(call.get());
    EXPECT_EQ(qxtest::readBytes(path), "[S]\r\n\r\nA=1\r\n");
}

}  // namespace

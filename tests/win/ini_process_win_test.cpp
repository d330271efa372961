// The INI file layer on Windows, where only the system shows it: a writer
// ended with TerminateProcess at any moment leaves the old file or the new
// one, whole; every call sees what a load would see; a save keeps the file's
// identity.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <random>
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

// The test binary doubles as a writer: started with "--qx-ini-writer <file>
// <n>" it saves the counter n, or for n = 0 counts on from the file's until ended.
struct WriterRole {
    WriterRole() {
        int argc = 0;
        LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
        if (!argv || argc != 4 || std::wstring(argv[1]) != L"--qx-ini-writer") return;
        const String file(reinterpret_cast<const char16_t*>(argv[2]));
        const int n = _wtoi(argv[3]);
        for (int i = iniIntactCounter(qxtest::readBytes(qx::toUtf8(file))); n == 0;) ini::writeIniSection(u"S", iniBody(++i), file);
        ini::writeIniSection(u"S", iniBody(n), file);
        ExitProcess(0);
    }
} g_writerRole;

PROCESS_INFORMATION startWriter(const std::string& file, int n) {
    return qxtest::startSelf("--qx-ini-writer \"" + file + "\" " + std::to_string(n));
}

TEST(IniProcessesWin, TerminatedWriterNeverLeavesADamagedFile) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("crash.ini").string();
    ini::writeIniSection(u"S", iniBody(0), qx::fromUtf8(path));
    std::mt19937 rng(20261205);
    int counter = 0;
    for (int kills = 1; counter < 1000 && kills <= 300; ++kills) {
        PROCESS_INFORMATION pi = startWriter(path, 0);
        ASSERT_NE(pi.hProcess, nullptr);
        // Let the child start saving, then end it at a random moment of its run.
        for (int i = 0; i < 400 && iniIntactCounter(qxtest::readBytes(path)) == counter; ++i) Sleep(5);
        Sleep(rng() % 100);
        TerminateProcess(pi.hProcess, 9);
        qxtest::waitForChild(pi);
        const int now = iniIntactCounter(qxtest::readBytes(path));
        ASSERT_GE(now, counter) << "after kill " << kills << " the file is damaged or went back";
        counter = now;
    }
    EXPECT_GE(counter, 1000);
    // A new writer's first save clears what the ended ones left beside the file.
    PROCESS_INFORMATION last = startWriter(path, counter + 1);
    EXPECT_EQ(qxtest::waitForChild(last), 0u);
    EXPECT_EQ(iniIntactCounter(qxtest::readBytes(path)), counter + 1);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "crash.ini") << "left behind";
}

TEST(IniFileWin, EveryCallSeesWhatALoadWouldSeeAndASaveKeepsTheFilesIdentity) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("app.ini").string();
    const String file = qx::fromUtf8(path);
    qxtest::writeBytes(path, "[S]\r\nA=1\r\n");
    Sleep(250);  // settled: the engine may keep what it reads
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", file), u"1");
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", file), u"1");
    // Another program rewrites it keeping its size and write time.
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d);
    qxtest::writeBytes(path, "[S]\r\nA=2\r\n");
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &d.ftLastWriteTime));
    CloseHandle(h);
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", file), u"2");
    // Held open without sharing: the runtime's error, though the file is known.
    h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_RAISES(qx::err::PermissionDenied, ini::getIniString(u"S", u"A", u"d", file));
    CloseHandle(h);
    // A hidden file reads as missing and is never written.
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", file), u"d");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(qxtest::readBytes(path), "[S]\r\nA=2\r\n");

    // A hard-linked file is rewritten in place; another is replaced by a file
    // that takes its creation time and attributes.
    const std::string link = dir.path("b.ini").string();
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), path.c_str(), nullptr));
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"3", file));
    EXPECT_EQ(qxtest::readBytes(link), "\r\n[S]\r\n\r\nA=3\r\n");
    DeleteFileA(link.c_str());
    const SYSTEMTIME st{2001, 2, 0, 3, 4, 5, 6, 0};
    FILETIME old{};
    SystemTimeToFileTime(&st, &old);
    h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(h, &old, nullptr, nullptr));
    CloseHandle(h);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d);
    if (CompareFileTime(&d.ftCreationTime, &old) != 0 || !(d.dwFileAttributes & FILE_ATTRIBUTE_NOT_CONTENT_INDEXED))
        GTEST_SKIP() << "this file system keeps no creation time or no such attribute";
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"4", file));
    EXPECT_EQ(qxtest::readBytes(path), "\r\n[S]\r\n\r\nA=4\r\n");
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d);
    EXPECT_EQ(CompareFileTime(&d.ftCreationTime, &old), 0);
    EXPECT_TRUE(d.dwFileAttributes & FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
}

}  // namespace

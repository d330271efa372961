// The INI file layer on Windows, where only the system shows it: a writer
// ended with TerminateProcess at any moment leaves the old file or the new
// one, whole; every call sees what a load would see; a save keeps hard links.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <random>

#include "ini/ini_engine.h"
#include "child_process.h"
#include "ini_support.h"
#include "test_support.h"

using qx::String;
namespace ini = qx::ini;

namespace {

// The test binary doubles as a writer: started with "--qx-ini-writer <file>"
// it counts on from the file's counter, saving each, until it is ended.
struct WriterRole {
    WriterRole() {
        int argc = 0;
        LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
        if (!argv || argc != 3 || std::wstring(argv[1]) != L"--qx-ini-writer") return;
        const String file(reinterpret_cast<const char16_t*>(argv[2]));
        for (int i = qxtest::iniIntactCounter(qxtest::readBytes(qx::toUtf8(file)));;)
            ini::writeIniSection(u"S", qxtest::iniBody(++i), file);
    }
} g_writerRole;

TEST(IniProcessesWin, TerminatedWriterNeverLeavesADamagedFile) {
    qxtest::TempFolder dir;
    const std::string path = dir.path("crash.ini").string();
    // Written as a save would: this process's first save in the folder comes last.
    qxtest::writeBytes(path, "[S]\r\n\r\n" + qx::toUtf8(qxtest::iniBody(0)) + "\r\n");
    std::mt19937 rng(20261205);
    int counter = 0;
    for (int kills = 1; counter < 1000 && kills <= 300; ++kills) {
        PROCESS_INFORMATION pi = qxtest::startSelf("--qx-ini-writer \"" + path + "\"");
        ASSERT_NE(pi.hProcess, nullptr);
        // Let the child start saving, then end it at a random moment of its run.
        for (int i = 0; i < 400 && qxtest::iniIntactCounter(qxtest::readBytes(path)) == counter; ++i) Sleep(5);
        Sleep(rng() % 100);
        TerminateProcess(pi.hProcess, 9);
        qxtest::waitForChild(pi);
        const int now = qxtest::iniIntactCounter(qxtest::readBytes(path));
        ASSERT_GE(now, counter) << "after kill " << kills << " the file is damaged or went back";
        counter = now;
    }
    EXPECT_GE(counter, 1000);
    // A writer's first save in the folder clears what the ended ones left beside the file.
    EXPECT_TRUE(ini::writeIniSection(u"S", qxtest::iniBody(counter + 1), qx::fromUtf8(path)));
    EXPECT_EQ(qxtest::iniIntactCounter(qxtest::readBytes(path)), counter + 1);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "crash.ini") << "left behind";
}

TEST(IniFileWin, EveryCallSeesWhatALoadWouldSeeAndASaveKeepsHardLinks) {
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

    // A hard-linked file is rewritten in place: both names see the change.
    const std::string link = dir.path("b.ini").string();
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), path.c_str(), nullptr));
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"3", file));
    EXPECT_EQ(qxtest::readBytes(link), "\r\n[S]\r\n\r\nA=3\r\n");
}

}  // namespace

// The logs between processes on Windows: several processes appending to one
// log never tear or lose each other's lines; a log another process holds
// without sharing raises the runtime's "permission denied" for WriteLog and
// nothing for WriteDebugLog.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/state.h"
#include "child_process.h"
#include "ini_support.h"
#include "log_support.h"
#include "test_support.h"

using qx::String;

namespace {

// The test binary doubles as the writing process: started with
// "--qx-log-child <file> <p>" it writes its entries through WriteLog, as a
// host whose log was opened under that name, and exits before the test
// framework starts.
struct LogChildRole {
    LogChildRole() {
        int argc = 0;
        LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
        if (!argv || argc < 4 || std::wstring(argv[1]) != L"--qx-log-child") return;
        const String file(reinterpret_cast<const char16_t*>(argv[2]));
        const int p = _wtoi(argv[3]);
        UINT code = 0;
        try {
            qx::clsQXGenRtns lib;
            qx::state().LogEnabled = true;
            qx::state().LogPath = file;
            for (int i = 0; i < qxtest::kLogEntries; ++i) lib.WriteLog(qx::fromUtf8(qxtest::logEntryText(p, i)));
        } catch (...) {
            code = 1;
        }
        ExitProcess(code);
    }
} g_logChildRole;

PROCESS_INFORMATION startWriter(const std::string& file, int p) {
    return qxtest::startSelf("--qx-log-child \"" + file + "\" " + std::to_string(p));
}

TEST(LogProcessesWin, ConcurrentAppendsKeepEveryLineWhole) {
    qxtest::TempFolder dir;
    const std::string file = dir.path("shared.log").string();
    qxtest::writeBytes(file, "header\r\n\r\n\r\n");
    std::vector<PROCESS_INFORMATION> children;
    for (int p = 0; p < qxtest::kLogProcesses; ++p) {
        children.push_back(startWriter(file, p));
        ASSERT_NE(children.back().hProcess, nullptr);
    }
    for (auto& pi : children) EXPECT_EQ(qxtest::waitForChild(pi), 0u);

    const std::vector<std::string> lines = qxtest::crlfLines(qxtest::readBytes(file));
    ASSERT_EQ(lines.size(), 3u + qxtest::kLogProcesses * qxtest::kLogEntries + 1u);
    EXPECT_EQ(lines[0], "header");
    EXPECT_EQ(lines.back(), "") << "the file ends with a whole line";
    qxtest::expectWholeEntries(lines);
}

TEST(LogFileWin, LogHeldWithoutSharingRaisesPermissionDeniedForWriteLogOnly) {
    qxtest::TempFolder dir;
    const std::string file = dir.path("held.log").string();
    qxtest::writeBytes(file, "kept\r\n");
    qxtest::runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        qx::LibraryState& st = qx::state();
        st.LogEnabled = true;
        st.LogPath = qx::fromUtf8(file);
        st.DebugLogEnabled = true;
        st.DebugLogPath = st.LogPath;
        HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        EXPECT_RAISES(qx::err::PermissionDenied, lib.WriteLog(u"refused"));
        lib.WriteDebugLog(u"refused silently");
        CloseHandle(h);
        EXPECT_EQ(qxtest::readBytes(file), "kept\r\n");
        // Read-only: the access error. Where the system lets this user write
        // a read-only file all the same (Wine running as root), there is
        // nothing to check.
        ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
        HANDLE probe = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            EXPECT_RAISES(qx::err::PathFileAccessError, lib.WriteLog(u"refused"));
        } else {
            CloseHandle(probe);
        }
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        lib.WriteLog(u"accepted");
        EXPECT_NE(qxtest::readBytes(file).find(" - accepted\r\n"), std::string::npos);
    });
}

}  // namespace

// The logs between processes on Windows: several processes appending to one
// log never tear or lose each other's lines; a log another process holds
// without sharing raises the runtime's "permission denied".
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/state.h"
#include "child_process.h"
#include "ini_support.h"
#include "log_support.h"

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
        UINT code = 0;
        try {
            qx::clsQXGenRtns lib;
            qx::state().LogEnabled = true;
            qx::state().LogPath = reinterpret_cast<const char16_t*>(argv[2]);
            const int p = _wtoi(argv[3]);
            for (int i = 0; i < qxtest::kLogEntries; ++i) lib.WriteLog(qx::fromUtf8(qxtest::logEntryText(p, i)));
        } catch (...) {
            code = 1;
        }
        ExitProcess(code);
    }
} g_logChildRole;

TEST(LogProcessesWin, ConcurrentAppendsKeepEveryLineWhole) {
    qxtest::TempFolder dir;
    const std::string file = dir.path("shared.log").string();
    qxtest::writeBytes(file, "header\r\n\r\n\r\n");
    std::vector<PROCESS_INFORMATION> children;
    for (int p = 0; p < qxtest::kLogProcesses; ++p) {
        children.push_back(qxtest::startSelf("--qx-log-child \"" + file + "\" " + std::to_string(p)));
        ASSERT_NE(children.back().hProcess, nullptr);
    }
    for (auto& pi : children) EXPECT_EQ(qxtest::waitForChild(pi), 0u);
    qxtest::expectWholeEntries(qxtest::readBytes(file));
}

TEST(LogFileWin, LogHeldWithoutSharingRaisesPermissionDenied) {
    qxtest::TempFolder dir;
    const std::string file = dir.path("held.log").string();
    qxtest::writeBytes(file, "kept\r\n");
    qxtest::runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        qx::LibraryState& st = qx::state();
        st.LogEnabled = true;
        st.LogPath = qx::fromUtf8(file);
        HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        EXPECT_RAISES(qx::err::PermissionDenied, lib.WriteLog(u"refused"));
        CloseHandle(h);
        EXPECT_EQ(qxtest::readBytes(file), "kept\r\n");
        lib.WriteLog(u"accepted");
        EXPECT_TRUE(qxtest::stampedAs(qxtest::readBytes(file), "kept\r\n", " - accepted\r\n", 0, 1e7));
    });
}

}  // namespace

// The logs between processes on Windows: several processes appending to one
// log never tear or lose each other's lines.
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

}  // namespace

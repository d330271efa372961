// The logs between processes on POSIX: several processes appending to one
// log never tear or lose each other's lines; and a file the user may not
// write raises the access error.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "log_support.h"
#include "test_support.h"

using qx::Variant;
using qxtest::LogHost;

namespace {
// Runs `child` in a forked copy of this process (which inherits the thread's
// library state) and gives its exit code.
template <class F>
int inChild(F child) {
    const pid_t pid = fork();
    if (pid == 0) _exit(child());
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}
}  // namespace

TEST(LogProcessesPosix, ConcurrentAppendsKeepEveryLineWhole) {
    LogHost host(u"LogProcsProbe");
    qxtest::runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Beta);
        const qx::String path = lib.InitLog(u"shared.log");
        ASSERT_FALSE(path.empty());
        std::vector<pid_t> children;
        for (int p = 0; p < qxtest::kLogProcesses; ++p) {
            const pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                int code = 0;
                try {
                    for (int i = 0; i < qxtest::kLogEntries; ++i) lib.WriteLog(qx::fromUtf8(qxtest::logEntryText(p, i)));
                } catch (...) {
                    code = 1;
                }
                _exit(code);
            }
            children.push_back(pid);
        }
        for (const pid_t pid : children) {
            int status = 0;
            waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        qxtest::expectWholeEntries(qxtest::fileBytes(path));
    });
}

TEST(LogFilePosix, LogTheUserMayNotWriteRaisesTheAccessErrorAndStopsItsInitialisation) {
    LogHost host(u"LogReadOnlyProbe");
    qxtest::runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Beta);
        const auto file = qxtest::fsPath(host.log(u".log"));
        const std::string header = qxtest::fileBytes(host.log(u".log"));
        namespace fs = std::filesystem;
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        // Root may write any file: the check then runs as an unprivileged user.
        const int code = inChild([&] {
            if (geteuid() == 0 && setuid(65534) != 0) return 2;
            const bool raised = qxtest::raisesError(qx::err::PathFileAccessError, [&] { lib.WriteLog(u"refused"); });
            lib.WriteDebugLog(u"refused too, silently");
            return raised && lib.InitLog() == u"" ? 0 : 1;
        });
        EXPECT_EQ(code, 0) << "2: the child could not give up root";
        EXPECT_EQ(qxtest::fileBytes(host.log(u".log")), header);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    });
}

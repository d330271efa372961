// The logs between processes on POSIX: several processes appending to one
// log never tear or lose each other's lines; and a file the user may not
// write raises the access error.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/state.h"
#include "log_support.h"
#include "test_support.h"

using qx::String;
using qx::Variant;
using qxtest::LogHost;

namespace {

}  // namespace

TEST(LogProcessesPosix, ConcurrentAppendsKeepEveryLineWhole) {
    LogHost host(u"LogProcsProbe");
    qxtest::runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Beta);
        const String path = lib.InitLog(u"shared.log");
        ASSERT_FALSE(path.empty());
        std::vector<pid_t> children;
        for (int p = 0; p < qxtest::kLogProcesses; ++p) {
            const pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                // The child inherits this thread's library state and writes through the library.
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

        const std::vector<std::string> lines = qxtest::crlfLines(qxtest::fileBytes(path));
        ASSERT_EQ(lines.size(), 3u + qxtest::kLogProcesses * qxtest::kLogEntries + 1u);
        EXPECT_EQ(lines[1], "");
        EXPECT_EQ(lines[2], "");
        EXPECT_EQ(lines.back(), "") << "the file ends with a whole line";
        qxtest::expectWholeEntries(lines);
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
        // Root may write any file: the check then runs in a child that has
        // given up root for an unprivileged user.
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (geteuid() == 0 && setuid(65534) != 0) _exit(2);
            int failures = 0;
            if (!qxtest::raisesError(qx::err::PathFileAccessError, [&] { lib.WriteLog(u"refused"); })) ++failures;
            lib.WriteDebugLog(u"refused too, silently");
            if (lib.InitLog() != u"") ++failures;
            _exit(failures == 0 ? 0 : 1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the child could not give up root";
        EXPECT_EQ(qxtest::fileBytes(host.log(u".log")), header);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    });
}

// The logs between processes on POSIX: several processes appending to one
// log never tear or lose each other's lines; and a file the user may not
// write raises the access error.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "log_support.h"

namespace {
// Runs `child` in a forked copy of this process, which inherits the thread's library state.
template <class F>
pid_t forked(F child) {
    const pid_t pid = fork();
    if (pid == 0) _exit(child());
    return pid;
}

int exitCode(pid_t pid) {
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST(LogProcessesPosix, ConcurrentAppendsKeepEveryLineWhole) {
    qxtest::LogHost host(u"LogProcsProbe");
    qxtest::withLibrary(host, qx::Beta, [&](qx::clsQXGenRtns& lib) {
        const qx::String path = lib.InitLog(u"shared.log");
        std::vector<pid_t> children;
        for (int p = 0; p < qxtest::kLogProcesses; ++p) {
            children.push_back(forked([&lib, p] {
                try {
                    for (int i = 0; i < qxtest::kLogEntries; ++i) lib.WriteLog(qx::fromUtf8(qxtest::logEntryText(p, i)));
                } catch (...) {
                    return 1;
                }
                return 0;
            }));
        }
        for (const pid_t pid : children) EXPECT_EQ(exitCode(pid), 0);
        qxtest::expectWholeEntries(qxtest::fileBytes(path));
    });
}

TEST(LogFilePosix, LogTheUserMayNotWriteRaisesTheAccessErrorAndStopsItsInitialisation) {
    qxtest::LogHost host(u"LogReadOnlyProbe");
    qxtest::withLibrary(host, qx::Beta, [&](qx::clsQXGenRtns& lib) {
        namespace fs = std::filesystem;
        const auto file = qxtest::fsPath(host.log(u".log"));
        const std::string header = qxtest::fileBytes(host.log(u".log"));
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        // Root may write any file: the check then runs as an unprivileged user.
        EXPECT_EQ(exitCode(forked([&lib] {
                      if (geteuid() == 0 && setuid(65534) != 0) return 2;
                      const bool raised = qxtest::raisesError(qx::err::PathFileAccessError, [&] { lib.WriteLog(u"x"); });
                      return raised && lib.InitLog() == u"" ? 0 : 1;
                  })),
                  0)
            << "2: the child could not give up root";
        EXPECT_EQ(qxtest::fileBytes(host.log(u".log")), header);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    });
}

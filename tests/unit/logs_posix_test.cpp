// The logs between processes on POSIX: several processes appending to one
// log never tear or lose each other's lines.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

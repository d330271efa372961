// The logs between processes on POSIX: several processes appending to one
// log never tear or lose each other's lines.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "log_support.h"

TEST(LogProcessesPosix, ConcurrentAppendsKeepEveryLineWhole) {
    qxtest::LogHost host(u"LogProcsProbe");
    qxtest::withLibrary(host, qx::Beta, [&](qx::clsQXGenRtns& lib) {
        const qx::String path = lib.InitLog(u"shared.log");
        std::vector<pid_t> children;
        for (int p = 0; p < qxtest::kLogProcesses; ++p) {
            // The child inherits this thread's library state and writes through the library.
            children.push_back(fork());
            if (children.back() != 0) continue;
            try {
                for (int i = 0; i < qxtest::kLogEntries; ++i) lib.WriteLog(qx::fromUtf8(qxtest::logEntryText(p, i)));
            } catch (...) {
                _exit(1);
            }
            _exit(0);
        }
        for (const pid_t pid : children) {
            int status = 1;
            EXPECT_TRUE(pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        qxtest::expectWholeEntries(qxtest::fileBytes(path));
    });
}

// POSIX: the command line is split into words as a shell would split it and
// the program is started with posix_spawnp (searched on PATH when its name
// has no "/"), without a shell; the wait reaps it with waitpid. There are no
// windows, so the window style is checked but has no effect.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <vector>

#include "core/scoped.h"
#include "launch/launch_sys.h"

extern char** environ;

namespace qx::launch::sys {

Process::~Process() = default;

StartFailure start(const std::string& commandLine, int, Process& process) {
    std::vector<std::string> words;
    if (!splitCommandLine(commandLine, words)) return StartFailure::Invalid;
    if (words.empty() || words[0].empty()) return StartFailure::NotFound;
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    switch (rc) {
        case 0: break;
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG: return StartFailure::NotFound;
        case EACCES:
        case EPERM: return StartFailure::AccessDenied;
        case ENOMEM: return StartFailure::OutOfMemory;
        default: return StartFailure::Invalid;
    }
    process.id = static_cast<std::uint32_t>(pid);
    return StartFailure::None;
}

void waitFor(Process& process) {
    int status = 0;
    // A failure other than a signal: already reaped elsewhere, nothing to wait for.
    retryOnEintr([&] { return ::waitpid(static_cast<pid_t>(process.id), &status, 0); });
}

}  // namespace qx::launch::sys

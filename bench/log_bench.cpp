// Entries per second of WriteLog (open for appending, one write, close, then
// the message pump) against the bare open/append/close loop of the same lines
// and the platform's other loggers. Target: WriteLog at least half the bare
// loop's rate.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/date.h"
#include "core/hostapp.h"
#include "core/state.h"
#include "log_bench.h"
#include "sysinfo/clsSpecialFolders.h"

namespace {

constexpr std::size_t kBatch = 200;

std::string message(std::size_t i) {
    return "entry " + std::to_string(i) + " of the log benchmark, a line of an ordinary length";
}

// Entries per second of `write`, which appends entries [start, start + n) to its file.
template <typename F>
double entriesPerSecond(F&& write) {
    using clock = std::chrono::steady_clock;
    write(0, kBatch);  // warm up
    std::size_t n = 0;
    const auto start = clock::now();
    auto elapsed = clock::duration::zero();
    while (elapsed < std::chrono::seconds(2)) {
        write(kBatch + n, kBatch);
        n += kBatch;
        elapsed = clock::now() - start;
    }
    return static_cast<double>(n) / std::chrono::duration<double>(elapsed).count();
}

}  // namespace

int main() {
    std::random_device rd;
    const auto dir = std::filesystem::temp_directory_path() / ("qxlogbench-" + std::to_string(rd()));
    std::filesystem::create_directories(dir);

    qx::clsQXGenRtns lib;
    lib.InitializeDll(qx::Variant(qx::host::makeApp(u"QXLogBench", u"", u"Log Bench", u"QX Bench", 1, 0, 0)), qx::Release);
    const qx::String libFile = lib.InitLog(u"bench.log");
    if (libFile.empty()) {
        std::fprintf(stderr, "InitLog could not start the benchmark's log\n");
        return 1;
    }

    // The lines as WriteLog writes them, for the writers that are handed whole lines.
    const std::string stamp = qx::toNarrow(qx::dateToText(qx::nowLocal()));
    auto linesOf = [&](std::size_t start, std::size_t n) {
        std::vector<std::string> lines;
        lines.reserve(n);
        for (std::size_t i = start; i < start + n; ++i) lines.push_back(stamp + " - " + message(i) + "\r\n");
        return lines;
    };

    std::printf("%-28s %14s %10s\n", "writer (one line per entry)", "entries/s", "vs bare");
    const double ours = entriesPerSecond([&](std::size_t start, std::size_t n) {
        std::vector<qx::String> msgs;
        msgs.reserve(n);
        for (std::size_t i = start; i < start + n; ++i) msgs.push_back(qx::fromUtf8(message(i)));
        for (const qx::String& m : msgs) lib.WriteLog(m);
    });
    const LogWriter bare = bareAppendLoop();
    const std::string bareFile = (dir / "bare.log").string();
    const double bareRate = entriesPerSecond([&](std::size_t start, std::size_t n) {
        const auto lines = linesOf(start, n);
        bare.write(bareFile, lines);
    });
    std::printf("%-28s %14.0f %9.2fx\n", "QXGenRtns WriteLog", ours, ours / bareRate);
    std::printf("%-28s %14.0f %9.2fx\n", bare.name.c_str(), bareRate, 1.0);
    for (const LogWriter& w : platformLoggers()) {
        const std::string file = (dir / (std::to_string(rd()) + ".log")).string();
        const double rate = entriesPerSecond([&](std::size_t start, std::size_t n) {
            const auto lines = linesOf(start, n);
            w.write(file, lines);
        });
        std::printf("%-28s %14.0f %9.2fx\n", w.name.c_str(), rate, rate / bareRate);
    }
    std::printf("\nWriteLog / bare loop: %.2f (target: at least 0.50) %s\n", ours / bareRate,
                ours / bareRate >= 0.5 ? "met" : "NOT MET");

    std::error_code ec;
    // The host's folder, and the probe file that resolving the special folders leaves.
    const auto& folders = *qx::state().Folders;
    std::filesystem::remove_all(std::filesystem::path(folders.ApplicationDataFolderLocal()), ec);
    std::filesystem::remove(std::filesystem::path(folders.UserProfileTempFolder() + u"QXLogBench.tmp"), ec);
    std::filesystem::remove_all(dir, ec);
    return 0;
}

// The cost of a WriteTraceLog end call as the trace stack grows: every end
// call walks the whole stack, whose length is the number of begin calls since
// the trace was started. Measured after 1,000 and 10,000 begin calls, with
// the procedures ended (the usual case: cleared entries) and left open
// (nested), against a fresh trace of one entry.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/clsQXGenRtns.h"
#include "core/hostapp.h"
#include "core/state.h"
#include "sysinfo/clsSpecialFolders.h"

namespace {

qx::String procName(int i) {
    qx::String digits = qx::toDecimal(i);
    return u"Proc" + qx::String(6 - digits.size(), u'0') + digits;
}

// Microseconds per end call of a procedure that is not open (the stack stays as it is).
double endCallMicros(qx::clsQXGenRtns& lib) {
    using clock = std::chrono::steady_clock;
    for (int i = 0; i < 20; ++i) lib.WriteTraceLog(u"Zzzz999999", qx::qxtEndProcedureTrace);
    int n = 0;
    const auto start = clock::now();
    auto elapsed = clock::duration::zero();
    while (elapsed < std::chrono::seconds(1)) {
        for (int i = 0; i < 50; ++i) lib.WriteTraceLog(u"Zzzz999999", qx::qxtEndProcedureTrace);
        n += 50;
        elapsed = clock::now() - start;
    }
    return std::chrono::duration<double, std::micro>(elapsed).count() / n;
}

}  // namespace

int main() {
    qx::clsQXGenRtns lib;
    lib.InitializeDll(qx::Variant(qx::host::makeApp(u"QXTraceBench", u"", u"Trace Bench", u"QX Bench", 1, 0, 0)),
                      qx::Release);
    if (!qx::state().TraceEnabled) {
        std::fprintf(stderr, "tracing is switched off in the benchmark host's INI file\n");
        return 1;
    }
    auto restart = [&] { lib.InitTraceLog(qx::Variant(qx::state().HostApp)); };

    std::printf("%-34s %16s\n", "trace stack", "us per end call");
    restart();
    const double base = endCallMicros(lib);
    std::printf("%-34s %16.2f\n", "fresh (1 entry)", base);
    for (const int begins : {1000, 10000}) {
        restart();
        for (int i = 0; i < begins; ++i) {
            lib.WriteTraceLog(procName(i), qx::qxtBeginProcedureTrace);
            lib.WriteTraceLog(procName(i), qx::qxtEndProcedureTrace);
        }
        const double ended = endCallMicros(lib);
        std::printf("after %-6d begins, each ended      %16.2f\n", begins, ended);
        restart();
        for (int i = 0; i < begins; ++i) lib.WriteTraceLog(procName(i), qx::qxtBeginProcedureTrace);
        const double open = endCallMicros(lib);
        std::printf("after %-6d begins, all open        %16.2f\n", begins, open);
    }

    std::error_code ec;
    // The host's folder, and the probe file that resolving the special folders leaves.
    const auto& folders = *qx::state().Folders;
    std::filesystem::remove_all(std::filesystem::path(folders.ApplicationDataFolderLocal()), ec);
    std::filesystem::remove(std::filesystem::path(folders.UserProfileTempFolder() + u"QXTraceBench.tmp"), ec);
    return 0;
}

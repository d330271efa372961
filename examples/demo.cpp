// A C++ host walking the library's typical road: hand the library the host's
// application object, then use its INI file, logs, trace log and timing, and
// show where each file went.
#include <iostream>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/hostapp.h"
#include "core/state.h"

int main() {
    using namespace qx;
    try {
        const ObjectRef app = host::makeApp(u"QXDemo", u"", u"QX Demo Host", u"QX Demo Company", 5, 0, 1);
        clsQXGenRtns lib;
        const String ini = lib.InitializeDll(Variant(app), Release);
        std::cout << "InitializeDll: INI file " << toUtf8(ini) << "\n";
        std::cout << "GetVersion: " << toUtf8(lib.GetVersion()) << "\n";

        // The INI file: the log switches written by the initialisation, and a setting of the host's own.
        std::cout << "INI [QXDemo] Log = " << toUtf8(lib.GetIniString(u"QXDemo", u"Log", u"True", ini)) << "\n";
        lib.WriteIniString(u"Settings", u"LastRun", lib.StartTime().toString(), ini);
        std::cout << "INI [Settings] LastRun = " << toUtf8(lib.GetIniString(u"Settings", u"LastRun", u"", ini)) << "\n";

        // The logs and the trace outline.
        lib.WriteTraceLog(u"Main", qxtBeginProcedureTrace);
        lib.WriteLog(u"Saved");
        lib.WriteDebugLog(u"Settings written");
        lib.WriteTraceLog(u"Main", qxtEndProcedureTrace);

        // Timing.
        const String start = lib.StartTime().toString();
        lib.WaitSeconds(1);
        const String stop = lib.StopTime().toString();
        std::int32_t seconds = 3725;
        std::cout << "GetElapsedTime(" << toUtf8(start) << ", " << toUtf8(stop)
                  << "): " << toUtf8(lib.GetElapsedTime(start, stop)) << "\n";
        std::cout << "ConvertSecondsToHHMMSS(3725): " << toUtf8(lib.ConvertSecondsToHHMMSS(seconds))
                  << " (the variable now holds " << seconds << ")\n";

        const LibraryState& st = state();
        std::cout << "application log: " << toUtf8(st.LogPath) << "\n"
                  << "debug log:       " << toUtf8(st.DebugLogPath) << "\n"
                  << "error log:       " << toUtf8(st.ErrorLogPath) << "\n"
                  << "trace log:       " << toUtf8(st.TracePath) << "\n";
    } catch (const RuntimeError& e) {
        std::cerr << "error " << e.number() << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

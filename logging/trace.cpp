// The trace log keeps a stack of the procedures begun since its last
// initialisation. An end call clears every open entry of its name and takes
// its indentation back from them, but the stack never shrinks: it grows by
// one entry per begin call, and its 16-bit top caps it at 32,768 entries.
#include "logging/trace.h"

#include "core/error.h"
#include "core/hostapp.h"
#include "core/library.h"
#include "core/numeric.h"
#include "core/state.h"
#include "files/paths.h"
#include "logging/log_file.h"
#include "logging/log_support.h"

namespace qx::logging {

namespace {

constexpr std::int16_t kBegin = 1;
constexpr std::int16_t kEnd = 2;

// Company - Title - Version Major.Minor.Revision - Trace  - date and time,
// then two empty lines. The numbers are read by name and written as the
// object gives them.
std::string traceHeaderBytes(const ObjectRef& app) {
    if (!app) raise(err::ObjectNotSet);
    String line = host::companyName(app);
    line += u" - ";
    line += host::title(app);
    line += u" - Version ";
    line += app->get(u"Major").toString();
    line += u".";
    line += app->get(u"Minor").toString();
    line += u".";
    line += app->get(u"Revision").toString();
    line += u" - Trace  - ";
    line += timeStamp();
    line += kLineEnd;
    line += kLineEnd;
    line += kLineEnd;
    return toNarrow(line);
}

}  // namespace

void initTraceLog(const Variant& applInf) {
    LibraryState& st = state();
    st.AppIniFile = initializeLibrary(applInf, st.VersionType);
    st.TraceEnabled = enabledByIniKey(u"Trace");
    if (!st.TraceEnabled) return;

    st.TraceTop = -1;
    st.TraceLevel = 1;
    st.TraceStack.assign(1, TraceEntry{});

    const ObjectRef app = applInf.toObject();
    const String fileName = host::exeName(app) + u"_Trace.log";
    const String folder = localDataFolder() + u"QXTools Log" + files::separator();
    st.TracePath = folder + fileName;

    // Each of these steps is skipped when it fails; the trace is ready all the same.
    files::createFolders(folder);
    try {
        replaceFile(st.TracePath, [&] {
            try {
                return traceHeaderBytes(app);
            } catch (const RuntimeError&) {
                return std::string();  // a header that cannot be read is left out
            }
        });
    } catch (const RuntimeError&) {
    }
    st.TraceReady = true;
}

void writeTraceLog(const String& routineName, std::int16_t msgType) {
    LibraryState& st = state();
    if (!st.TraceEnabled) return;
    try {
        if (!st.TraceReady) initTraceLog(Variant(st.HostApp));
        String line;  // an empty line in front of every begin line
        String text;
        if (msgType == kBegin) {
            st.TraceTop = add16(st.TraceTop, 1);  // the 32,769th begin overflows here
            const auto top = static_cast<std::size_t>(st.TraceTop);
            st.TraceStack.resize(top + 1);
            st.TraceStack[top] = TraceEntry{routineName, st.TraceLevel};
            text = u"Start " + routineName;
            line = kLineEnd;
        } else if (msgType == kEnd) {
            // Every open entry of the name is cleared, from the top down; the
            // lowest one sets the level last. Cleared entries match "".
            for (std::size_t i = st.TraceStack.size(); i-- > 0;) {
                TraceEntry& e = st.TraceStack[i];
                if (e.RoutineName.size() == routineName.size() && equalsNoCase(e.RoutineName, routineName)) {
                    st.TraceLevel = e.Level;
                    e = TraceEntry{};
                }
            }
            text = u"End " + routineName;
        }
        line.append(static_cast<std::size_t>(st.TraceLevel > 0 ? st.TraceLevel : 0), u'\t');
        line += text;
        line += kLineEnd;
        appendBlock(st.TracePath, toNarrow(line));
        if (msgType == kBegin) st.TraceLevel = add16(st.TraceLevel, 1);
    } catch (const RuntimeError&) {
        // The trace never disturbs the host: any failure ends the call here.
    }
}

}  // namespace qx::logging

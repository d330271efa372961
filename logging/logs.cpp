// The three logs share one routine each for initialising and for writing;
// they differ in the INI key, the per-thread fields, the default extension
// and what a failed write does.
#include "logging/logs.h"

#include "core/date.h"
#include "core/error.h"
#include "core/hostapp.h"
#include "core/library.h"
#include "core/screen.h"
#include "core/state.h"
#include "files/paths.h"
#include "ini/ini_engine.h"
#include "logging/log_file.h"
#include "logging/log_support.h"
#include "sysinfo/clsSpecialFolders.h"

namespace qx::logging {

namespace {

struct LogFields {
    bool& enabled;
    String& path;
    const char16_t* key;
    const char16_t* extension;
};

LogFields fieldsOf(Log log) {
    LibraryState& st = state();
    switch (log) {
        case Log::Debug: return {st.DebugLogEnabled, st.DebugLogPath, u"Debug", u".dbg"};
        case Log::Error: return {st.ErrorLogEnabled, st.ErrorLogPath, u"Error", u".err"};
        case Log::Application: break;
    }
    return {st.LogEnabled, st.LogPath, u"Log", u".log"};
}

// Company - Title - version text - date and time, then two empty lines.
std::string headerBytes() {
    const ObjectRef app = state().HostApp;
    String line = host::companyName(app);
    line += u" - ";
    line += host::title(app);
    line += u" - ";
    line += getVersion();
    line += u" - ";
    line += timeStamp();
    line += kLineEnd;
    line += kLineEnd;
    line += kLineEnd;
    return toNarrow(line);
}

void appendEntry(const String& path, const String& message) {
    String line = timeStamp();
    line.reserve(line.size() + 3 + message.size() + 2);
    line += u" - ";
    line += message;
    line += kLineEnd;
    appendBlock(path, toNarrow(line));
}

}  // namespace

bool enabledByIniKey(const String& key) {
    const LibraryState& st = state();
    return equalsNoCase(ini::getIniString(st.HostExeName, key, u"True", st.AppIniFile), u"True");
}

String localDataFolder() {
    const LibraryState& st = state();
    if (!st.Folders) raise(err::ObjectNotSet);
    return st.Folders->ApplicationDataFolderLocal();
}

String timeStamp() { return dateToText(nowLocal()); }

String initLog(Log log, const String& fileName) {
    const LogFields f = fieldsOf(log);
    f.enabled = enabledByIniKey(f.key);
    if (!f.enabled) return String();

    const String folder = localDataFolder() + u"Log" + files::separator();
    files::createFolders(folder);
    f.path = folder + (fileName.empty() ? host::exeName(state().HostApp) + f.extension : fileName);

    // From here a failure ends the initialisation with "" and raises nothing.
    // The file is created before the header is read, so a host whose
    // properties fail leaves an empty file behind.
    try {
        replaceFile(f.path, headerBytes);
    } catch (const RuntimeError&) {
        return String();
    }
    return f.path;
}

void writeLog(Log log, const String& message) {
    const LogFields f = fieldsOf(log);
    if (!f.enabled) return;
    if (log == Log::Application) {
        appendEntry(f.path, message);  // a failure reaches the caller
    } else {
        try {
            appendEntry(f.path, message);
        } catch (const RuntimeError&) {
            return;  // silently, and without letting messages run
        }
    }
    doEvents();
}

void writeAppErrorLog(const String& message) {
    // The application error log has a switch of its own that the library
    // never sets: until a host's build enables it, nothing is written. When
    // enabled it writes as the application log does.
    const LibraryState& st = state();
    if (!st.AppErrorLogEnabled) return;
    appendEntry(st.AppErrorLogPath, message);
    doEvents();
}

}  // namespace qx::logging

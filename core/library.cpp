#include "core/library.h"

#include "core/hostapp.h"
#include "core/screen.h"
#include "core/state.h"
#include "core/types.h"
#include "files/paths.h"
#include "logging/logs.h"
#include "logging/trace.h"
#include "sysinfo/clsSpecialFolders.h"
#include "sysinfo/display.h"
#include "sysinfo/special_folders.h"

namespace qx {

namespace {

struct VersionSuffix {
    std::int16_t type;
    const char16_t* suffix;
    const char16_t* typeString;
};

constexpr VersionSuffix kSuffixes[] = {
    {Beta, u"  Beta", u"Beta"},           {Demo, u"  Demo", u"Demo"},
    {Release, u"", u"Release"},           {Trial, u"  Trial", u"Release"},
    {Freeware, u"  Freeware", u"Release"}, {Shareware, u"  Shareware", u"Release"},
};

constexpr SkinColours kDefaultSkin{0x804000, 0xFFFFFF, 0xC0C0C0, 0xC08000, 0xFFFFFF, 0xC0C0C0};

// The steps that later parts of the library add to the first initialisation:
// opening the logs, the trace log and the screen check.
void initializeSubsystems() {
    // The three logs under their default names, each started afresh when its key enables it.
    logging::initLog(logging::Log::Application, String());
    logging::initLog(logging::Log::Debug, String());
    logging::initLog(logging::Log::Error, String());
    // The trace log, for the stored host object (its InitializeDll returns at once).
    logging::initTraceLog(Variant(state().HostApp));
    // The screen size, measured with no minimum: no message.
    sysinfo::checkScreenSize(0, 0);
}

}  // namespace

String versionText(std::int16_t major, std::int16_t minor, std::int16_t revision, std::int16_t versionType,
                   String& typeString) {
    String text = u"Version " + toDecimal(major) + u"." + toDecimal(minor) + u"  Build " + toDecimal(revision);
    for (const auto& s : kSuffixes) {
        if (s.type == versionType) {
            text += s.suffix;
            typeString = s.typeString;
            break;
        }
    }
    return text;
}

String initializeLibrary(const Variant& appData, std::int16_t appVerType) {
    LibraryState& st = state();
    if (st.Initialized) return st.AppIniFile;
    st.Skin = kDefaultSkin;
    // Set before anything can fail: a failed first call is never retried.
    st.Initialized = true;
    st.VersionType = appVerType == 0 ? std::int16_t{Release} : appVerType;
    st.HostApp = appData.toObject();
    st.HostExeName = host::exeName(st.HostApp);
    st.Folders = sysinfo::getSpecialFolders(st.HostApp);
    files::createFolders(st.Folders->ApplicationDataFolderLocal());
    st.AppIniFile = st.Folders->ApplicationDataFolderLocal() + st.HostExeName + u".ini";
    initializeSubsystems();
    return st.AppIniFile;
}

String getVersion() {
    LibraryState& st = state();
    const ObjectRef app = st.HostApp;
    const std::int16_t major = host::versionMajor(app);
    const std::int16_t minor = host::versionMinor(app);
    const std::int16_t revision = host::versionRevision(app);
    String text = versionText(major, minor, revision, st.VersionType, st.VersionTypeString);
    if (st.VersionType == Release) doEvents();
    return text;
}

}  // namespace qx

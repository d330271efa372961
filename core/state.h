#pragma once
// The library's state: one record per host thread, shared by every instance
// of every class on that thread and never by two threads.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "core/object.h"

namespace qx {

class clsSpecialFolders;

// Saved Enabled states of a form's controls, keyed by the form's Name and Index.
using SavedControlCollection = std::map<String, std::vector<bool>, NoCaseLess>;

struct SkinColours {
    std::int32_t ButtonColor = 0;
    std::int32_t ButtonTextColor = 0;
    std::int32_t ButtonGradientColor = 0;
    std::int32_t BackgroundColor = 0;
    std::int32_t GradientTarget = 0;
    std::int32_t DisplayColor = 0;
};

// One open procedure of the trace log: its name and the indentation it began at.
struct TraceEntry {
    String RoutineName;
    std::int16_t Level = 0;
};

// A reading of the display settings (the display part of the system's device-mode record).
struct DisplaySettingsRecord {
    String DeviceName;
    std::uint16_t Size = 0;
    std::uint32_t Fields = 0;
    std::int16_t YResolution = 0;
    std::uint16_t LogPixels = 0;
    std::uint32_t BitsPerPel = 0;
    std::uint32_t PelsWidth = 0;
    std::uint32_t PelsHeight = 0;
    std::uint32_t DisplayFlags = 0;
    std::uint32_t DisplayFrequency = 0;
    bool operator==(const DisplaySettingsRecord& o) const {
        return DeviceName == o.DeviceName && Size == o.Size && Fields == o.Fields && YResolution == o.YResolution &&
               LogPixels == o.LogPixels && BitsPerPel == o.BitsPerPel && PelsWidth == o.PelsWidth &&
               PelsHeight == o.PelsHeight && DisplayFlags == o.DisplayFlags && DisplayFrequency == o.DisplayFrequency;
    }
};

struct LibraryState {
    bool Initialized = false;
    ObjectRef HostApp;
    String HostExeName;
    String AppIniFile;
    std::shared_ptr<clsSpecialFolders> Folders;
    std::int16_t VersionType = 0;
    String VersionTypeString;
    bool AppCancel = false;
    std::shared_ptr<SavedControlCollection> SavedControls;
    SkinColours Skin;

    // The library's message box: the result of the last button pressed on it.
    std::int32_t MsgBoxResult = 0;

    // The logs: enabled by their INI keys, each with the file it writes to.
    bool LogEnabled = false;
    String LogPath;
    bool DebugLogEnabled = false;
    String DebugLogPath;
    bool ErrorLogEnabled = false;
    String ErrorLogPath;
    bool AppErrorLogEnabled = false;
    String AppErrorLogPath;

    // The trace log.
    bool TraceEnabled = false;
    bool TraceReady = false;
    String TracePath;
    std::vector<TraceEntry> TraceStack;
    std::int16_t TraceTop = 0;
    std::int16_t TraceLevel = 0;

    // The display checks.
    std::int16_t ScreenWidthPixels = 0;
    std::int16_t ScreenHeightPixels = 0;
    DisplaySettingsRecord DisplaySettings;
    DisplaySettingsRecord SavedDisplaySettings;

    // Hooked tab strips, one set for all of them: the window procedure they
    // had, the pulse level and direction, the working gradient colours and
    // direction of the paint in progress, and its brush.
    std::intptr_t TabPreviousProc = 0;
    std::int32_t TabPulseLevel = 0;
    bool TabPulseFalling = false;
    std::int32_t TabColour1 = 0;
    std::int32_t TabColour2 = 0;
    std::int32_t TabDirection = 0;
    std::intptr_t TabBrush = 0;
};

// This thread's record, created zeroed on first use.
LibraryState& state();

}  // namespace qx

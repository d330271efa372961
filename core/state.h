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
};

// This thread's record, created zeroed on first use.
LibraryState& state();

}  // namespace qx

#pragma once
// Picking a folder with the shell's folder browser, over a host form.
#include <cstdint>

#include "core/object.h"

namespace qx::ui {

constexpr const char16_t* kBrowseCaption = u"Browse for Folder";
constexpr const char16_t* kBrowsePrompt = u"Select a folder from the tree.";

// Shows the folder browser owned by `form`'s window, starting at
// `startFolder` (blanks around it are ignored); returns the chosen folder, or
// "" when the user cancels. Reading the form's window handle raises when it fails.
String browseFolder(const String& startFolder, const ObjectRef& form);

struct Origin {
    std::int32_t left;
    std::int32_t top;
};

// Where a dialog of the given size in pixels sits centred on a screen given
// in twips (integer divisions, as the host computes them).
Origin centredOrigin(std::int32_t dialogWidth, std::int32_t dialogHeight, std::int32_t screenWidthTwips,
                     std::int32_t screenHeightTwips, std::int32_t twipsPerPixelX, std::int32_t twipsPerPixelY);

}  // namespace qx::ui

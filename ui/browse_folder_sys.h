#pragma once
// The system's folder browser.
#include <cstdint>

#include "core/qxstring.h"

namespace qx::ui {

// Shows the dialog owned by `owner`, with `startFolder` selected when it is
// not empty; the chosen folder's path, or "" when there is none.
String showFolderBrowser(std::intptr_t owner, const String& startFolder);

}  // namespace qx::ui

// Without a windowing system there is no folder browser to show: the call
// answers as a cancelled dialog does, with no folder.
#include "ui/browse_folder_sys.h"

namespace qx::ui {

String showFolderBrowser(std::intptr_t, const String&) { return String(); }

}  // namespace qx::ui

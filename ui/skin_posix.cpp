// Without a windowing system there is no device context to paint a gradient
// on and no tree view window to message: these steps are skipped, as failing
// steps of a skin are. Property assignments on host objects happen all the same.
#include "ui/skin_sys.h"

namespace qx::ui::skin {

bool fillVerticalGradient(std::intptr_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return false; }

bool setTreeViewWindowColour(std::intptr_t, std::int32_t) { return false; }

}  // namespace qx::ui::skin

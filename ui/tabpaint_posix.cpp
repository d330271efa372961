// Without a windowing system there is no tab-strip window to hook or paint:
// every operation is skipped, as a failing step of the skin is.
#include "ui/tabpaint_sys.h"

namespace qx::ui::tab {

bool setStyle(WindowHandle, std::int32_t) { return false; }
bool setDirection(WindowHandle, std::int32_t) { return false; }
bool setColour1(WindowHandle, std::int32_t) { return false; }
bool setColour2(WindowHandle, std::int32_t) { return false; }
bool hook(WindowHandle) { return false; }
bool invalidate(WindowHandle) { return false; }

}  // namespace qx::ui::tab

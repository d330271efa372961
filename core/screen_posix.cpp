// Without a windowing runtime: a 1024 x 768 screen at 96 dots per inch, and
// no window messages to process. Hosts with a display install their own.
#include "core/screen_sys.h"

namespace qx {

std::shared_ptr<Screen> platformScreen() { return std::make_shared<FixedScreen>(1024, 768, 15); }

void platformDoEvents() {}

}  // namespace qx

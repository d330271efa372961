#pragma once
// The platform primitives under the screen and message pump of screen.h.
#include <memory>

#include "core/screen.h"

namespace qx {

// The system's own screen.
std::shared_ptr<Screen> platformScreen();
// Lets the thread's pending window messages run once.
void platformDoEvents();

}  // namespace qx

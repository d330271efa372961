#pragma once
// The window side of tab-strip painting: the properties that choose a hooked
// tab strip's background, and the hook itself. Each operation answers false
// when there is no such window to act on (always, on a platform without
// windows), and does nothing then.
#include <cstdint>

namespace qx::ui::tab {

using WindowHandle = std::intptr_t;

bool setStyle(WindowHandle hwnd, std::int32_t style);
bool setDirection(WindowHandle hwnd, std::int32_t direction);
// A system colour (top bit set) is stored as its current plain value.
bool setColour1(WindowHandle hwnd, std::int32_t colour);
bool setColour2(WindowHandle hwnd, std::int32_t colour);
// Replaces the window's procedure with the painting one, once per window.
bool hook(WindowHandle hwnd);
// Marks the whole window for repainting.
bool invalidate(WindowHandle hwnd);

}  // namespace qx::ui::tab

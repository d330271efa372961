#pragma once
// The drawing side of skins. Each call answers false when there is no window
// or device context to act on (always, on a platform without windows).
#include <cstdint>

namespace qx::ui::skin {

// Fills (0, 0)-(width, height) of a device context with a gradient from
// `top` at the top to `bottom` at the bottom; colour bytes are used as they
// stand.
bool fillVerticalGradient(std::intptr_t hdc, std::int32_t width, std::int32_t height, std::int32_t top,
                          std::int32_t bottom);

// Sets a tree view window's background colour and rewrites its style so that
// its lines are redrawn on the new background.
bool setTreeViewWindowColour(std::intptr_t hwnd, std::int32_t colour);

}  // namespace qx::ui::skin

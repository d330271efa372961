#pragma once
// The host runtime's message box. Windows shows the system's; elsewhere, and
// in tests, a handler the host installs answers instead.
#include <cstdint>
#include <functional>

#include "core/qxstring.h"

namespace qx {

// Shows `text` with `title` and the runtime's style bits (64: OK button and
// information icon); returns the pressed button (1 is OK).
std::int32_t messageBox(const String& text, std::int32_t style, const String& title);

using MessageBoxHandler = std::function<std::int32_t(const String& text, std::int32_t style, const String& title)>;
// Installs a handler for the calling thread; an empty one goes back to the platform's box.
void setMessageBoxHandler(MessageBoxHandler handler);
std::int32_t platformMessageBox(const String& text, std::int32_t style, const String& title);

}  // namespace qx

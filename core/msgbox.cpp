#include "core/msgbox.h"

namespace qx {

namespace {
MessageBoxHandler& installed() {
    thread_local MessageBoxHandler h;
    return h;
}
}  // namespace

std::int32_t messageBox(const String& text, std::int32_t style, const String& title) {
    if (const auto& h = installed()) return h(text, style, title);
    return platformMessageBox(text, style, title);
}

void setMessageBoxHandler(MessageBoxHandler handler) { installed() = std::move(handler); }

}  // namespace qx

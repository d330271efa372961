#include "core/screen_sys.h"

namespace qx {

// What a host installs belongs to the thread that installed it, like the
// rest of the library's state.
namespace {
std::shared_ptr<Screen>& installedScreen() {
    thread_local std::shared_ptr<Screen> s;
    return s;
}
std::function<void()>& installedPump() {
    thread_local std::function<void()> p;
    return p;
}
}  // namespace

Screen& screen() {
    std::shared_ptr<Screen>& s = installedScreen();
    if (!s) s = platformScreen();
    return *s;
}

void setScreen(std::shared_ptr<Screen> s) { installedScreen() = std::move(s); }

void doEvents() {
    if (const auto& p = installedPump()) p();
    else platformDoEvents();
}

void setMessagePump(std::function<void()> pump) { installedPump() = std::move(pump); }

bool messagePumpInstalled() { return static_cast<bool>(installedPump()); }

}  // namespace qx

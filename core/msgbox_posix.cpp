// Without a windowing runtime the message goes to the standard error stream,
// and the box answers as if its first button (OK) had been pressed.
#include <cstdio>

#include "core/msgbox.h"

namespace qx {

std::int32_t platformMessageBox(const String& text, std::int32_t, const String& title) {
    std::fprintf(stderr, "%s: %s\n", toNarrow(title).c_str(), toNarrow(text).c_str());
    return 1;
}

}  // namespace qx

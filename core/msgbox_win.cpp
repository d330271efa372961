// The system's modal message box, owned by the thread's active window.
#include <windows.h>

#include "core/msgbox.h"

namespace qx {

std::int32_t platformMessageBox(const String& text, std::int32_t style, const String& title) {
    const std::wstring t(text.begin(), text.end());
    const std::wstring c(title.begin(), title.end());
    return MessageBoxW(GetActiveWindow(), t.c_str(), c.c_str(), static_cast<UINT>(style));
}

}  // namespace qx

// Windows: the common controls library registers its window classes.
#include <windows.h>

#include <commctrl.h>

#include "ui/manifest_sys.h"

namespace qx::ui::sys {

bool initCommonControls() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;  // 8
    icc.dwICC = ICC_USEREX_CLASSES;
    return InitCommonControlsEx(&icc) != FALSE;
}

}  // namespace qx::ui::sys

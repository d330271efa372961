// The screen from the system metrics and the display's dots per inch; the
// mouse pointer through the system cursors; DoEvents as a PeekMessage loop.
#include <windows.h>

#include "core/screen_sys.h"

namespace qx {

namespace {
class WindowsScreen : public Screen {
public:
    std::int32_t width() override { return GetSystemMetrics(SM_CXSCREEN) * twipsPerPixelX(); }
    std::int32_t height() override { return GetSystemMetrics(SM_CYSCREEN) * twipsPerPixelY(); }
    std::int32_t twipsPerPixelX() override { return twipsPerPixel(LOGPIXELSX); }
    std::int32_t twipsPerPixelY() override { return twipsPerPixel(LOGPIXELSY); }
    std::int16_t mousePointer() override { return pointer_; }
    void setMousePointer(std::int16_t p) override {
        pointer_ = p;
        SetCursor(LoadCursor(nullptr, p == 11 ? IDC_WAIT : IDC_ARROW));
    }

private:
    static std::int32_t twipsPerPixel(int index) {
        HDC dc = GetDC(nullptr);
        const int dpi = dc ? GetDeviceCaps(dc, index) : 96;
        if (dc) ReleaseDC(nullptr, dc);
        return 1440 / (dpi > 0 ? dpi : 96);
    }
    std::int16_t pointer_ = 0;
};
}  // namespace

std::shared_ptr<Screen> platformScreen() { return std::make_shared<WindowsScreen>(); }

void platformDoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace qx

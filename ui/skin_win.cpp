// Skins on Windows: the form's background gradient and the tree view messages.
#include <windows.h>

#include "ui/skin_sys.h"
#include "ui/tabpaint.h"

namespace qx::ui::skin {

bool fillVerticalGradient(std::intptr_t hdc, std::int32_t width, std::int32_t height, std::int32_t top,
                          std::int32_t bottom) {
    HDC dc = reinterpret_cast<HDC>(hdc);
    if (!dc) return false;
    TRIVERTEX v[2] = {};
    v[0].Red = tab::vertexChannel(top, 0);
    v[0].Green = tab::vertexChannel(top, 8);
    v[0].Blue = tab::vertexChannel(top, 16);
    v[1].x = width;
    v[1].y = height;
    v[1].Red = tab::vertexChannel(bottom, 0);
    v[1].Green = tab::vertexChannel(bottom, 8);
    v[1].Blue = tab::vertexChannel(bottom, 16);
    GRADIENT_RECT r{0, 1};
    return GradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V) != FALSE;
}

bool setTreeViewWindowColour(std::intptr_t hwnd, std::int32_t colour) {
    HWND w = reinterpret_cast<HWND>(hwnd);
    if (!IsWindow(w)) return false;
    constexpr UINT kSetBackColour = 4381;  // TVM_SETBKCOLOR
    constexpr LONG kHasLines = 2;          // TVS_HASLINES
    SendMessageA(w, kSetBackColour, 0, static_cast<LPARAM>(colour));
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    SetWindowLongA(w, GWL_STYLE, style & ~kHasLines);
    SetWindowLongA(w, GWL_STYLE, style);
    return true;
}

}  // namespace qx::ui::skin

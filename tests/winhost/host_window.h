#pragma once
// Real windows for the library's window routines to act on.
#include <windows.h>
#include <commctrl.h>

namespace winhost {

// Panels draw in the button-face colour but for a black top band, on the context a paint brings.
constexpr int kBand = 20;

inline LRESULT CALLBACK panelProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT) return DefWindowProcA(h, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(h, &ps);
    RECT r{};
    GetClientRect(h, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    r.bottom = kBand;
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!wp) EndPaint(h, &ps);
    return 0;
}

// A visible panel at (x, y) in its parent, or on the screen when it has none.
inline HWND makePanel(HWND parent, int x, int y, int w, int h) {
    [[maybe_unused]] static const ATOM panelClass = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSA wc{};
        wc.lpfnWndProc = panelProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QXHostPanel";
        return RegisterClassA(&wc);
    }();
    const DWORD style = (parent ? WS_CHILD : WS_POPUP | WS_CLIPCHILDREN) | WS_VISIBLE;
    HWND panel = CreateWindowExA(0, "QXHostPanel", "panel", style, x, y, w, h, parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(panel);
    return panel;
}

// The GDI objects of this process (Wine keeps no count, but a handle's index alone still names it).
inline DWORD gdiObjects() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
    DWORD n = 0;
    for (UINT_PTR i = 1; i <= 0xFFFF; ++i) n += GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0;
    return n;
}

}  // namespace winhost

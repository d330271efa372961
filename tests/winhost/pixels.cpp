#include "pixels.h"

namespace winhost {

namespace {

Picture read(HDC source, int w, int h, const std::function<void(HDC)>* draw) {
    Picture p;
    p.width = w;
    p.height = h;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(source);
    HBITMAP dib = CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    if (draw) (*draw)(mem);
    else BitBlt(mem, 0, 0, w, h, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* src = static_cast<const std::uint32_t*>(bits);
    p.pixels.resize(static_cast<std::size_t>(w * h));
    for (std::size_t i = 0; i < p.pixels.size(); ++i) {
        const std::uint32_t bgr = src[i];  // 0x00RRGGBB in a DIB
        p.pixels[i] = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    return p;
}

}  // namespace

Picture captureWindow(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    HDC dc = GetDC(hwnd);
    Picture p = read(dc, r.right, r.bottom, nullptr);
    ReleaseDC(hwnd, dc);
    return p;
}

Picture drawnBy(WNDPROC proc, HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    HDC dc = GetDC(hwnd);
    const std::function<void(HDC)> draw = [&](HDC mem) {
        CallWindowProcA(proc, hwnd, WM_PAINT, reinterpret_cast<WPARAM>(mem), 0);
    };
    Picture p = read(dc, r.right - r.left, r.bottom - r.top, &draw);
    ReleaseDC(hwnd, dc);
    return p;
}

namespace {

// Wine keeps no per-process counts (GetGuiResources answers 0 there); its GDI
// handles are table indexes that a handle with an empty high word still
// names, so the live objects can be counted by asking each index its type.
DWORD countGdiByIndex() {
    DWORD n = 0;
    for (UINT_PTR i = 1; i <= 0xFFFF; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    return n;
}

BOOL CALLBACK countChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<DWORD*>(counter);
    return TRUE;
}

BOOL CALLBACK countWindow(HWND h, LPARAM counter) {
    ++*reinterpret_cast<DWORD*>(counter);
    EnumChildWindows(h, countChild, counter);
    return TRUE;
}

// The windows of this thread, top-level and children.
DWORD countWindows() {
    DWORD n = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

}  // namespace

ObjectCounts objectCounts() {
    HANDLE self = GetCurrentProcess();
    ObjectCounts c{GetGuiResources(self, GR_GDIOBJECTS), GetGuiResources(self, GR_USEROBJECTS)};
    if (c.gdi == 0) c.gdi = countGdiByIndex();
    if (c.user == 0) c.user = countWindows();
    return c;
}

}  // namespace winhost

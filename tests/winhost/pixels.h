#pragma once
// Pixels read back from windows and memory drawings, and the counts of the
// process's GDI and USER objects.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace winhost {

// A picture as 0x00BBGGRR values (the colour encoding of the host), row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

inline int red(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
inline int green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int blue(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }

// The client area of a window as it is now on the screen.
Picture captureWindow(HWND hwnd);
// What a window procedure draws when it is handed a memory context with a
// paint message (the control's own drawing, without any hook).
Picture drawnBy(WNDPROC proc, HWND hwnd);

// GDI and USER objects of this process (where the system keeps no USER
// count: the windows of this thread).
struct ObjectCounts {
    DWORD gdi = 0;
    DWORD user = 0;
};
ObjectCounts objectCounts();

}  // namespace winhost

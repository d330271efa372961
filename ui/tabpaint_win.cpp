// Hooked tab strips on Windows: the choice of background travels as window
// properties; the library's window procedure lets the control draw itself
// into a memory surface and replaces every button-face pixel of that drawing
// with the chosen background.
#include <windows.h>

#include "core/state.h"
#include "ui/tabpaint.h"
#include "ui/tabpaint_sys.h"

namespace qx::ui::tab {

namespace {

HWND toHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

std::int32_t prop(HWND h, const char* name) {
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(GetPropA(h, name)));
}

bool setProp(WindowHandle h, const char* name, std::int32_t value) {
    HWND w = toHwnd(h);
    if (!IsWindow(w)) return false;
    return SetPropA(w, name, reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(value))) != FALSE;
}

std::int32_t plainColour(std::int32_t colour) {
    if (isSystemColour(colour)) return static_cast<std::int32_t>(GetSysColor(systemColourIndex(colour)));
    return colour;
}

WNDPROC previousProc() { return reinterpret_cast<WNDPROC>(state().TabPreviousProc); }

LRESULT passOn(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    WNDPROC prev = previousProc();
    return prev ? CallWindowProcA(prev, h, msg, wp, lp) : DefWindowProcA(h, msg, wp, lp);
}

void deleteBrush() {
    LibraryState& st = state();
    if (st.TabBrush) DeleteObject(reinterpret_cast<HBRUSH>(st.TabBrush));
    st.TabBrush = 0;
}

void fillGradient(HDC dc, int w, int h, std::int32_t c1, std::int32_t c2, std::int32_t direction) {
    TRIVERTEX v[2] = {};
    v[0].x = 0;
    v[0].y = 0;
    v[0].Red = vertexChannel(c1, 0);
    v[0].Green = vertexChannel(c1, 8);
    v[0].Blue = vertexChannel(c1, 16);
    v[1].x = w;
    v[1].y = h;
    v[1].Red = vertexChannel(c2, 0);
    v[1].Green = vertexChannel(c2, 8);
    v[1].Blue = vertexChannel(c2, 16);
    GRADIENT_RECT r{0, 1};
    GradientFill(dc, v, 2, &r, 1, direction == 0 ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

// One memory surface compatible with the window's context.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    Surface(HDC windowDc, int w, int h, bool monochrome) {
        dc = CreateCompatibleDC(windowDc);
        bitmap = monochrome ? CreateBitmap(w, h, 1, 1, nullptr) : CreateCompatibleBitmap(windowDc, w, h);
        if (dc && bitmap) old = SelectObject(dc, bitmap);
    }
    ~Surface() {
        if (old) SelectObject(dc, old);
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    bool ok() const { return dc && bitmap; }
};

void paint(HWND h) {
    LibraryState& st = state();
    HDC dc = GetDC(h);
    if (!dc) {
        ValidateRect(h, nullptr);
        return;
    }
    RECT r{};
    GetWindowRect(h, &r);
    const int w = r.right - r.left;
    const int ht = r.bottom - r.top;
    const std::int32_t style = prop(h, kPropStyle);
    deleteBrush();
    if (style == kSolid) {
        st.TabBrush = reinterpret_cast<std::intptr_t>(CreateSolidBrush(static_cast<COLORREF>(prop(h, kPropSolidColor))));
    } else if (style == kPicture) {
        st.TabBrush = reinterpret_cast<std::intptr_t>(CreatePatternBrush(static_cast<HBITMAP>(GetPropA(h, kPropPicture))));
        // The picture's size travels with it; the brush tiles it whatever its size.
        (void)prop(h, kPropPictureWidth);
        (void)prop(h, kPropPictureHeight);
    } else if (style == kGradient) {
        st.TabColour1 = prop(h, kPropColor1);
        st.TabColour2 = prop(h, kPropColor2);
        st.TabDirection = prop(h, kPropGradientDir);
    } else if (style == kPulse) {
        st.TabDirection = prop(h, kPropGradientDir);
    }
    {
        Surface mask(dc, w, ht, true);
        Surface work(dc, w, ht, false);
        Surface back(dc, w, ht, false);
        Surface image(dc, w, ht, false);
        COLORREF oldBack = CLR_INVALID;
        if (mask.ok() && work.ok() && back.ok() && image.ok()) {
            // The control's own drawing.
            passOn(h, WM_PAINT, reinterpret_cast<WPARAM>(image.dc), 0);
            // Button-face pixels of the drawing become 1 in the mask.
            const COLORREF face = GetSysColor(COLOR_BTNFACE);
            oldBack = SetBkColor(dc, face);
            SetBkColor(image.dc, face);
            BitBlt(mask.dc, 0, 0, w, ht, image.dc, 0, 0, SRCCOPY);
            if (style == kGradient || style == kPulse) {
                fillGradient(back.dc, w, ht, st.TabColour1, st.TabColour2, st.TabDirection);
            } else if (st.TabBrush) {
                HGDIOBJ oldBrush = SelectObject(back.dc, reinterpret_cast<HBRUSH>(st.TabBrush));
                PatBlt(back.dc, 0, 0, w, ht, PATCOPY);
                SelectObject(back.dc, oldBrush);
            }
            BitBlt(work.dc, 0, 0, w, ht, mask.dc, 0, 0, SRCCOPY);
            BitBlt(work.dc, 0, 0, w, ht, image.dc, 0, 0, SRCPAINT);
            BitBlt(back.dc, 0, 0, w, ht, mask.dc, 0, 0, MERGEPAINT);
            BitBlt(back.dc, 0, 0, w, ht, work.dc, 0, 0, SRCAND);
            BitBlt(dc, 0, 0, w, ht, back.dc, 0, 0, SRCCOPY);
        }
        deleteBrush();
        if (oldBack != CLR_INVALID) SetBkColor(dc, oldBack);
    }
    ReleaseDC(h, dc);
    ValidateRect(h, nullptr);
}

void advancePulse(HWND h) {
    LibraryState& st = state();
    PulseState p{st.TabPulseLevel, st.TabPulseFalling};
    pulseStep(p, prop(h, kPropFadeTime));
    st.TabPulseLevel = p.level;
    st.TabPulseFalling = p.falling;
    st.TabColour1 = brighten(prop(h, kPropColor1), p.level);
    st.TabColour2 = brighten(prop(h, kPropColor2), p.level);
}

LRESULT CALLBACK tabProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (prop(h, kPropStyle) == kPulse) {
        KillTimer(h, kPulseTimerId);
        SetTimer(h, kPulseTimerId, kPulsePeriodMs, nullptr);
    }
    switch (msg) {
        case WM_PAINT:
            paint(h);
            return 0;
        case WM_TIMER:
            if (prop(h, kPropStyle) != kPulse) {
                KillTimer(h, kPulseTimerId);
                return 0;
            }
            advancePulse(h);
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE);
            return 0;
        case WM_DESTROY: {
            RemovePropA(h, kPropHooked);
            RemovePropA(h, kPropStyle);
            RemovePropA(h, kPropColor1);
            RemovePropA(h, kPropColor2);
            KillTimer(h, kPulseTimerId);
            deleteBrush();
            WNDPROC prev = previousProc();
            if (prev) SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
            return passOn(h, msg, wp, lp);
        }
        default:
            return passOn(h, msg, wp, lp);
    }
}

}  // namespace

bool setStyle(WindowHandle h, std::int32_t style) { return setProp(h, kPropStyle, style); }
bool setDirection(WindowHandle h, std::int32_t direction) { return setProp(h, kPropGradientDir, direction); }
bool setColour1(WindowHandle h, std::int32_t colour) { return setProp(h, kPropColor1, plainColour(colour)); }
bool setColour2(WindowHandle h, std::int32_t colour) { return setProp(h, kPropColor2, plainColour(colour)); }

bool hook(WindowHandle h) {
    HWND w = toHwnd(h);
    if (!IsWindow(w)) return false;
    if (GetPropA(w, kPropHooked)) return true;
    SetPropA(w, kPropHooked, reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)));
    state().TabPreviousProc = SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&tabProc));
    return true;
}

bool invalidate(WindowHandle h) {
    HWND w = toHwnd(h);
    if (!IsWindow(w)) return false;
    return InvalidateRect(w, nullptr, TRUE) != FALSE;
}

}  // namespace qx::ui::tab

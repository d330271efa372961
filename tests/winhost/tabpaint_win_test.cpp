// Hooked tab strips on real windows: the button-face pixels of the window's
// own drawing replaced by a gradient or a solid colour, its other pixels
// kept; the hook installed once and removed on destruction; no GDI object
// left behind by many paints.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host_window.h"
#include "ui/tabpaint.h"
#include "ui/tabpaint_sys.h"

namespace tab = qx::ui::tab;

namespace {

struct TabStrip : ::testing::Test {
    HWND tabs = winhost::makePanel(nullptr, 40, 40, 256, 200);
    tab::WindowHandle handle = reinterpret_cast<tab::WindowHandle>(tabs);
    ~TabStrip() override { DestroyWindow(tabs); }

    // Hooks the strip with a background of the given style and direction, red to blue, and paints it.
    void paintWith(std::int32_t style, std::int32_t direction) {
        tab::setStyle(handle, style);
        tab::setDirection(handle, direction);
        tab::setColour1(handle, 0x0000FF);
        tab::setColour2(handle, 0xFF0000);
        EXPECT_TRUE(tab::hook(handle)) << "no window: is a display set?";
        RedrawWindow(tabs, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
};

// The colour at `at` along a gradient from red to blue over `span` pixels.
std::uint32_t redToBlue(int at, int span) {
    const int blue = at * 255 / span;
    return static_cast<std::uint32_t>((255 - blue) + (blue << 16));
}

}  // namespace

TEST_F(TabStrip, EachStyleFillsTheButtonFacePixelsAndKeepsTheOthers) {
    SetPropA(tabs, tab::kPropSolidColor, reinterpret_cast<HANDLE>(std::intptr_t{0x00A000}));
    const struct {
        std::int32_t style, direction;
        std::uint32_t (*expected)(int x, int y);
    } cases[] = {
        {tab::kGradient, 0, [](int x, int) { return redToBlue(x, 256); }},
        {tab::kGradient, 1, [](int, int y) { return redToBlue(y, 200); }},
        {tab::kSolid, 0, [](int, int) { return 0x00A000u; }},
    };
    HDC dc = GetDC(tabs);
    for (const auto& c : cases) {
        paintWith(c.style, c.direction);
        int wrong = 0;
        for (int y = 0; y < 200; y += 3)
            for (int x = 0; x < 256; ++x) {
                const std::uint32_t want = y < winhost::kBand ? 0 : c.expected(x, y), got = GetPixel(dc, x, y);
                for (int shift : {0, 8, 16}) {
                    const int diff = static_cast<int>((got >> shift) & 255) - static_cast<int>((want >> shift) & 255);
                    wrong += std::abs(diff) > 3;
                }
            }
        EXPECT_EQ(wrong, 0) << "style " << c.style << ", direction " << c.direction << ": " << std::hex
                            << GetPixel(dc, 100, 100) << " at (100, 100) instead of " << c.expected(100, 100);
    }
    ReleaseDC(tabs, dc);
}

TEST_F(TabStrip, HookingTwiceInstallsOnceAndDestructionUnhooks) {
    const LONG_PTR ownProc = GetWindowLongPtrA(tabs, GWLP_WNDPROC);
    tab::setColour1(handle, static_cast<std::int32_t>(0x8000000D));  // a system colour is stored as its value
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropA(tabs, tab::kPropColor1)), static_cast<std::intptr_t>(GetSysColor(13)));
    ASSERT_TRUE(tab::hook(handle));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropA(tabs, tab::kPropHooked)), -1);
    tab::hook(handle);
    EXPECT_NE(GetWindowLongPtrA(tabs, GWLP_WNDPROC), ownProc);
    // The message a window gets as it is destroyed, sent ahead so that the window can still be asked.
    SendMessageA(tabs, WM_DESTROY, 0, 0);
    EXPECT_EQ(GetPropA(tabs, tab::kPropHooked), nullptr);
    EXPECT_EQ(GetPropA(tabs, tab::kPropColor1), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(tabs, GWLP_WNDPROC), ownProc) << "the procedure before the first hook";
}

TEST_F(TabStrip, AThousandPaintsLeaveNoGdiObjectBehind) {
    paintWith(tab::kGradient, 0);
    const DWORD before = winhost::gdiObjects();
    for (int i = 0; i < 1000; ++i) {
        tab::setStyle(handle, i % 2 ? tab::kGradient : tab::kSolid);
        RedrawWindow(tabs, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    EXPECT_GT(before, 0u);
    EXPECT_EQ(winhost::gdiObjects(), before);
}

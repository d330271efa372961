// Hooked tab strips on real windows: the pixels painted, the hook's life, no GDI leak.
#include <gtest/gtest.h>

#include <cstdint>
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
    HDC dc = GetDC(tabs);
    // The pixels more than 3 off the expected colour in a channel, over the black band and below it.
    const auto wrongPixels = [dc](std::uint32_t (*expected)(int x, int y)) {
        int wrong = 0;
        for (int y = 0; y < 200; y += 3)
            for (int x = 0; x < 256; ++x) {
                const std::uint32_t want = y < winhost::kBand ? 0 : expected(x, y), got = GetPixel(dc, x, y);
                for (int shift : {0, 8, 16})
                    wrong += std::abs(static_cast<int>(((got >> shift) & 255) - ((want >> shift) & 255))) > 3;
            }
        return wrong;
    };
    paintWith(tab::kGradient, 0);
    EXPECT_EQ(wrongPixels([](int x, int) { return redToBlue(x, 256); }), 0) << "across";
    paintWith(tab::kGradient, 1);
    EXPECT_EQ(wrongPixels([](int, int y) { return redToBlue(y, 200); }), 0) << "down";
    SetPropA(tabs, tab::kPropSolidColor, reinterpret_cast<HANDLE>(std::intptr_t{0x00A000}));
    paintWith(tab::kSolid, 0);
    EXPECT_EQ(wrongPixels([](int, int) { return 0x00A000u; }), 0) << "solid";
    ReleaseDC(tabs, dc);
}

TEST_F(TabStrip, HookingTwiceInstallsOnceAndDestructionUnhooks) {
    const LONG_PTR ownProc = GetWindowLongPtrA(tabs, GWLP_WNDPROC);
    tab::setColour1(handle, static_cast<std::int32_t>(0x8000000D));  // a system colour is stored as its value
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropA(tabs, tab::kPropColor1)),
              static_cast<std::intptr_t>(GetSysColor(COLOR_HIGHLIGHT)));
    ASSERT_TRUE(tab::hook(handle));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropA(tabs, tab::kPropHooked)), -1);
    tab::hook(handle);
    EXPECT_NE(GetWindowLongPtrA(tabs, GWLP_WNDPROC), ownProc);
    // The message a window gets as it is destroyed, sent ahead so that the window can still be asked.
    SendMessageA(tabs, WM_DESTROY, 0, 0);
    EXPECT_EQ(GetPropA(tabs, tab::kPropHooked), nullptr);
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

// Hooked tab strips on real windows: the control's button-face pixels replaced
// by a gradient, a solid colour, a tiled picture or a pulsing gradient; the
// hook installed once and removed with the window; nothing left behind by
// a thousand paints.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <set>

#include "core/state.h"
#include "host_window.h"
#include "pixels.h"
#include "ui/tabpaint.h"
#include "ui/tabpaint_sys.h"

namespace tab = qx::ui::tab;
using winhost::Picture;

namespace {

tab::WindowHandle handle(HWND h) { return reinterpret_cast<tab::WindowHandle>(h); }

// Lets messages run for `ms` milliseconds; the number of timer messages the window got.
int pumpCountingTimers(HWND h, int ms) {
    int ticks = 0;
    const DWORD until = GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            ticks += m.hwnd == h && m.message == WM_TIMER;
            DispatchMessageA(&m);
        }
        Sleep(5);
    }
    return ticks;
}

void repaint(HWND h) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    winhost::pump();
}

struct TabFixture : ::testing::Test {
    std::shared_ptr<winhost::WindowObject> form = winhost::makeForm(40, 40, 360, 240, "tab strip");
    std::shared_ptr<winhost::WindowObject> tabs;
    HWND tabHwnd = nullptr;
    WNDPROC ownProc = nullptr;
    Picture own;  // the control's own drawing

    void SetUp() override {
        ASSERT_TRUE(form) << "no window: is a display set?";
        tabs = winhost::addTabStrip(*form, 10, 10, 320, 200);
        ASSERT_TRUE(tabs);
        tabHwnd = tabs->hwnd();
        ownProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(tabHwnd, GWLP_WNDPROC));
        winhost::pump();
        own = winhost::drawnBy(ownProc, tabHwnd);
    }

    bool isFace(int x, int y) const { return own.at(x, y) == GetSysColor(COLOR_BTNFACE); }

    // Every pixel the control draws in another colour is shown unchanged.
    void expectOwnDrawingKept(const Picture& shown) {
        int differing = 0;
        for (int y = 0; y < own.height; ++y)
            for (int x = 0; x < own.width; ++x)
                if (!isFace(x, y) && shown.at(x, y) != own.at(x, y)) ++differing;
        EXPECT_EQ(differing, 0);
    }

    int facePixels() const {
        int n = 0;
        for (int y = 0; y < own.height; ++y)
            for (int x = 0; x < own.width; ++x) n += isFace(x, y);
        return n;
    }
};

}  // namespace

TEST_F(TabFixture, HorizontalGradientRunsFromFirstColourAtTheLeftToSecondAtTheRight) {
    ASSERT_GT(facePixels(), own.width * own.height / 2)
        << "the control draws its body in the button-face colour " << std::hex << GetSysColor(COLOR_BTNFACE)
        << ", not " << own.at(own.width / 2, own.height * 2 / 3);
    ASSERT_TRUE(tab::setStyle(handle(tabHwnd), tab::kGradient));
    tab::setDirection(handle(tabHwnd), 0);
    tab::setColour1(handle(tabHwnd), 0x0000FF);  // red
    tab::setColour2(handle(tabHwnd), 0xFF0000);  // blue
    ASSERT_TRUE(tab::hook(handle(tabHwnd)));
    repaint(tabHwnd);
    const Picture shown = winhost::captureWindow(tabHwnd);
    expectOwnDrawingKept(shown);
    // Along a row of button-face pixels in the body: red falls, blue rises.
    const int y = own.height * 2 / 3;
    int firstX = -1, lastX = -1, previousRed = 256, rising = 0;
    for (int x = 0; x < own.width; ++x) {
        if (!isFace(x, y)) continue;
        const std::uint32_t c = shown.at(x, y);
        if (firstX < 0) firstX = x;
        lastX = x;
        EXPECT_LE(winhost::red(c), previousRed) << "at x " << x;
        EXPECT_NEAR(winhost::red(c) + winhost::blue(c), 255, 2) << "at x " << x;
        rising += winhost::red(c) < previousRed;
        previousRed = winhost::red(c);
    }
    ASSERT_GE(firstX, 0);
    EXPECT_GT(winhost::red(shown.at(firstX, y)), 240);
    EXPECT_GT(winhost::blue(shown.at(lastX, y)), 240);
    EXPECT_GT(rising, 100);
}

TEST_F(TabFixture, VerticalGradientRunsFromTopToBottom) {
    tab::setStyle(handle(tabHwnd), tab::kGradient);
    tab::setDirection(handle(tabHwnd), 1);
    tab::setColour1(handle(tabHwnd), 0x0000FF);
    tab::setColour2(handle(tabHwnd), 0xFF0000);
    tab::hook(handle(tabHwnd));
    repaint(tabHwnd);
    const Picture shown = winhost::captureWindow(tabHwnd);
    expectOwnDrawingKept(shown);
    const int x = own.width / 2;
    int top = -1, bottom = -1;
    for (int y = 0; y < own.height; ++y)
        if (isFace(x, y)) {
            if (top < 0) top = y;
            bottom = y;
        }
    ASSERT_GT(bottom - top, 100);
    // The body starts below the tabs: red still dominates there, blue at the bottom.
    EXPECT_GT(winhost::red(shown.at(x, top)), winhost::blue(shown.at(x, top)));
    EXPECT_GT(winhost::blue(shown.at(x, bottom)), 240);
    // A row is one colour all along.
    const int y = (top + bottom) / 2;
    for (int xx = 0; xx < own.width; ++xx)
        if (isFace(xx, y)) {
            EXPECT_EQ(shown.at(xx, y), shown.at(x, y)) << "at x " << xx;
        }
}

TEST_F(TabFixture, SolidAndPictureStylesFillTheButtonFacePixels) {
    tab::setStyle(handle(tabHwnd), tab::kSolid);
    SetPropA(tabHwnd, tab::kPropSolidColor, reinterpret_cast<HANDLE>(std::intptr_t{0x00A000}));
    tab::hook(handle(tabHwnd));
    repaint(tabHwnd);
    Picture shown = winhost::captureWindow(tabHwnd);
    expectOwnDrawingKept(shown);
    for (int y = 0; y < own.height; y += 7)
        for (int x = 0; x < own.width; x += 7)
            if (isFace(x, y)) {
                ASSERT_EQ(shown.at(x, y), 0x00A000u) << x << "," << y;
            }

    // A 2 x 1 picture of two colours, tiled.
    const std::uint32_t twoPixels[2] = {0x00FFFF00, 0x00FF00FF};  // in memory order: yellow, magenta
    HBITMAP picture = CreateBitmap(2, 1, 1, 32, twoPixels);
    ASSERT_TRUE(picture);
    tab::setStyle(handle(tabHwnd), tab::kPicture);
    SetPropA(tabHwnd, tab::kPropPicture, picture);
    repaint(tabHwnd);
    shown = winhost::captureWindow(tabHwnd);
    expectOwnDrawingKept(shown);
    std::set<std::uint32_t> colours;
    for (int y = 0; y < own.height; ++y)
        for (int x = 0; x < own.width; ++x)
            if (isFace(x, y)) colours.insert(shown.at(x, y));
    EXPECT_EQ(colours, (std::set<std::uint32_t>{0x00FFFF, 0xFF00FF}));
    DestroyWindow(tabHwnd);
    DeleteObject(picture);
}

TEST_F(TabFixture, SystemColoursAreStoredAsTheirPlainValues) {
    tab::setColour1(handle(tabHwnd), static_cast<std::int32_t>(0x8000000D));  // the highlight colour
    tab::setColour2(handle(tabHwnd), 0x123456);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropA(tabHwnd, tab::kPropColor1)),
              static_cast<std::intptr_t>(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropA(tabHwnd, tab::kPropColor2)), 0x123456);
    EXPECT_FALSE(tab::setStyle(handle(nullptr), 2));
}

namespace {
// Watches a hooked window's destruction from outside the hook.
WNDPROC gInner = nullptr;
struct DestroySeen {
    bool seen = false;
    bool hooked = true, style = true, colour1 = true, colour2 = true, direction = false;
    LONG_PTR procAfter = 0;
} gDestroy;

LRESULT CALLBACK outerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_DESTROY) return CallWindowProcA(gInner, h, msg, wp, lp);
    const LRESULT r = CallWindowProcA(gInner, h, msg, wp, lp);
    gDestroy.seen = true;
    gDestroy.hooked = GetPropA(h, tab::kPropHooked) != nullptr;
    gDestroy.style = GetPropA(h, tab::kPropStyle) != nullptr;
    gDestroy.colour1 = GetPropA(h, tab::kPropColor1) != nullptr;
    gDestroy.colour2 = GetPropA(h, tab::kPropColor2) != nullptr;
    gDestroy.direction = GetPropA(h, tab::kPropGradientDir) != nullptr;
    gDestroy.procAfter = GetWindowLongPtrA(h, GWLP_WNDPROC);
    return r;
}
}  // namespace

TEST_F(TabFixture, HookingTwiceInstallsOnceAndDestroyingUnhooks) {
    tab::setStyle(handle(tabHwnd), tab::kPulse);
    tab::setDirection(handle(tabHwnd), 1);
    tab::setColour1(handle(tabHwnd), 0x202020);
    tab::setColour2(handle(tabHwnd), 0x404040);
    tab::hook(handle(tabHwnd));
    const LONG_PTR hookProc = GetWindowLongPtrA(tabHwnd, GWLP_WNDPROC);
    EXPECT_NE(hookProc, reinterpret_cast<LONG_PTR>(ownProc));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(GetPropA(tabHwnd, tab::kPropHooked)), -1);
    tab::hook(handle(tabHwnd));
    EXPECT_EQ(GetWindowLongPtrA(tabHwnd, GWLP_WNDPROC), hookProc);
    repaint(tabHwnd);
    gInner = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(tabHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&outerProc)));
    gDestroy = DestroySeen{};
    DestroyWindow(tabHwnd);
    ASSERT_TRUE(gDestroy.seen);
    EXPECT_FALSE(gDestroy.hooked);
    EXPECT_FALSE(gDestroy.style);
    EXPECT_FALSE(gDestroy.colour1);
    EXPECT_FALSE(gDestroy.colour2);
    EXPECT_TRUE(gDestroy.direction);
    // The hook put back the procedure the window had before it.
    EXPECT_EQ(gDestroy.procAfter, reinterpret_cast<LONG_PTR>(ownProc));
}

TEST_F(TabFixture, PulsingGradientBrightensOnEveryTimerTick) {
    qx::LibraryState& st = qx::state();
    st.TabPulseLevel = 0;
    st.TabPulseFalling = false;
    tab::setStyle(handle(tabHwnd), tab::kPulse);
    tab::setDirection(handle(tabHwnd), 0);
    tab::setColour1(handle(tabHwnd), 0x300000);
    tab::setColour2(handle(tabHwnd), 0x300000);
    SetPropA(tabHwnd, tab::kPropFadeTime, reinterpret_cast<HANDLE>(std::intptr_t{51}));
    tab::hook(handle(tabHwnd));
    // Three ticks by hand: the level runs 51, 102, 153 and the working colours follow.
    for (int i = 1; i <= 3; ++i) SendMessageA(tabHwnd, WM_TIMER, tab::kPulseTimerId, 0);
    EXPECT_EQ(st.TabPulseLevel, 153);
    EXPECT_EQ(st.TabColour1, tab::brighten(0x300000, 153));
    UpdateWindow(tabHwnd);  // paints now, before any queued tick
    Picture shown = winhost::captureWindow(tabHwnd);
    const int y = own.height * 2 / 3, x = own.width / 2;
    ASSERT_TRUE(isFace(x, y));
    EXPECT_EQ(shown.at(x, y), static_cast<std::uint32_t>(tab::brighten(0x300000, 153)));
    // Left to the timer, the level moves on by one step per tick.
    const tab::PulseState before{st.TabPulseLevel, st.TabPulseFalling};
    const int ticks = pumpCountingTimers(tabHwnd, 300);
    EXPECT_GT(ticks, 0);
    tab::PulseState expected = before;
    for (int i = 0; i < ticks; ++i) tab::pulseStep(expected, 51);
    EXPECT_EQ(st.TabPulseLevel, expected.level) << ticks << " ticks";
    EXPECT_EQ(st.TabPulseFalling, expected.falling);
    // Another style stops the pulse at the next tick.
    tab::setStyle(handle(tabHwnd), tab::kGradient);
    SendMessageA(tabHwnd, WM_TIMER, tab::kPulseTimerId, 0);
    const std::int32_t stopped = st.TabPulseLevel;
    EXPECT_EQ(pumpCountingTimers(tabHwnd, 100), 0);
    EXPECT_EQ(st.TabPulseLevel, stopped);
}

TEST_F(TabFixture, AThousandPaintsLeaveNoObjectBehind) {
    tab::setStyle(handle(tabHwnd), tab::kGradient);
    tab::setColour1(handle(tabHwnd), 0x0000FF);
    tab::setColour2(handle(tabHwnd), 0xFF0000);
    tab::hook(handle(tabHwnd));
    repaint(tabHwnd);
    const winhost::ObjectCounts before = winhost::objectCounts();
    ASSERT_GT(before.gdi, 0u);
    for (int i = 0; i < 1000; ++i) {
        tab::setStyle(handle(tabHwnd), i % 2 ? tab::kGradient : tab::kSolid);
        RedrawWindow(tabHwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    winhost::pump();
    const winhost::ObjectCounts after = winhost::objectCounts();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

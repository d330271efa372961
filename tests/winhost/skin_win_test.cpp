// A whole skin on a real form: the background gradient read back from the
// form, the tab strip hooked with its properties and repainted, the tree
// view's background, and the form's scale mode left as it was.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdlib>

#include "core/clsQXGenRtns.h"
#include "host_window.h"
#include "pixels.h"
#include "ui/tabpaint.h"

namespace tab = qx::ui::tab;

namespace {
std::intptr_t propOf(HWND h, const char* name) { return reinterpret_cast<std::intptr_t>(GetPropA(h, name)); }
}  // namespace

TEST(SkinWindow, SkinItPaintsTheFormAndHooksItsTabStrips) {
    auto form = winhost::makeForm(60, 60, 480, 320, "skinned form");
    ASSERT_TRUE(form) << "no window: is a display set?";
    auto tabs = winhost::addTabStrip(*form, 20, 20, 260, 180);
    auto tree = winhost::addTreeView(*form, 300, 20, 160, 180);
    auto ok = winhost::addButton(*form, 20, 240, 110, 32, "&Ok");
    auto cancel = winhost::addButton(*form, 150, 240, 110, 32, "&Cancel");
    ASSERT_TRUE(tabs && tree && ok && cancel);
    winhost::pump();
    const HWND tabHwnd = tabs->hwnd();
    const WNDPROC ownProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(tabHwnd, GWLP_WNDPROC));

    qx::clsQXGenRtns lib;
    form->set(u"ScaleMode", qx::Variant(std::int16_t{1}));
    lib.SkinIt(form, 0x804000, 0xFFFFFF, 0xC0C0C0, 0xC08000, -999, 0xE0E0E0, qx::cHorizontal);
    lib.SetTreeViewBackColor(form, 0xF0FFF0);

    // The form's background: the background colour at the top, white at the bottom.
    const winhost::Picture shown = winhost::captureWindow(form->hwnd());
    const std::uint32_t top = shown.at(400, 0), bottom = shown.at(400, shown.height - 1);
    EXPECT_NEAR(winhost::red(top), 0x00, 2);
    EXPECT_NEAR(winhost::green(top), 0x80, 2);
    EXPECT_NEAR(winhost::blue(top), 0xC0, 2);
    EXPECT_GT(winhost::red(bottom), 0xF8);
    EXPECT_GT(winhost::green(bottom), 0xF8);
    EXPECT_EQ(shown.at(10, 150), shown.at(470, 150)) << "the colour changes from top to bottom only";
    EXPECT_LT(winhost::red(shown.at(10, 100)), winhost::red(shown.at(10, 200)));
    EXPECT_EQ(form->get(u"ScaleMode").toInt32(), 1);
    EXPECT_EQ(form->get(u"BackColor").toInt32(), 0xC08000);

    // The tab strip: hooked, gradient style, the given direction and colours.
    EXPECT_EQ(propOf(tabHwnd, tab::kPropHooked), -1);
    EXPECT_EQ(propOf(tabHwnd, tab::kPropStyle), tab::kGradient);
    EXPECT_EQ(propOf(tabHwnd, tab::kPropGradientDir), 0);
    EXPECT_EQ(propOf(tabHwnd, tab::kPropColor1), 0x804000);
    EXPECT_EQ(propOf(tabHwnd, tab::kPropColor2), 0xC0C0C0);
    EXPECT_NE(GetWindowLongPtrA(tabHwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ownProc));
    EXPECT_EQ(tabs->get(u"ForeColor").toInt32(), 0xFFFFFF);
    winhost::pump();
    const winhost::Picture own = winhost::drawnBy(ownProc, tabHwnd);
    const winhost::Picture tabShown = winhost::captureWindow(tabHwnd);
    const int y = own.height - 10;
    int left = -1, right = -1;
    for (int x = 0; x < own.width; ++x)
        if (own.at(x, y) == GetSysColor(COLOR_BTNFACE)) {
            if (left < 0) left = x;
            right = x;
        }
    ASSERT_LT(left, right);
    EXPECT_LT(winhost::red(tabShown.at(left, y)), 0x10);  // &H804000 at the left
    EXPECT_GT(winhost::red(tabShown.at(right, y)), 0xB0);  // &HC0C0C0 at the right

    // The tree view: its window and its nodes took the colour; its lines are still on.
    EXPECT_EQ(SendMessageA(tree->hwnd(), TVM_GETBKCOLOR, 0, 0), 0xF0FFF0);
    EXPECT_TRUE(GetWindowLongA(tree->hwnd(), GWL_STYLE) & TVS_HASLINES);
    const auto nodes = tree->get(u"Nodes").toObject()->items();
    ASSERT_EQ(nodes.size(), 2u);
    for (const auto& n : nodes) EXPECT_EQ(n.toObject()->get(u"BackColor").toInt32(), 0xF0FFF0);

    // The buttons took the button colours they have.
    EXPECT_EQ(ok->get(u"BackColor").toInt32(), 0x804000);
    EXPECT_EQ(cancel->get(u"ForeColor").toInt32(), 0xFFFFFF);

    // A second skin only rewrites the properties: the hook stays the same.
    const LONG_PTR hooked = GetWindowLongPtrA(tabHwnd, GWLP_WNDPROC);
    lib.SkinIt(form, 0x000080, 0xFFFFFF, 0x8080FF, 0x400000, 0xFFC0C0, -999, qx::cVertical);
    EXPECT_EQ(GetWindowLongPtrA(tabHwnd, GWLP_WNDPROC), hooked);
    EXPECT_EQ(propOf(tabHwnd, tab::kPropGradientDir), 1);
    EXPECT_EQ(propOf(tabHwnd, tab::kPropColor1), 0x000080);

    // For the documentation's picture: say when the form is on screen, and keep it there a while.
    if (const char* hold = std::getenv("QX_WINHOST_HOLD_MS")) {
        winhost::pump(300);
        if (const char* ready = std::getenv("QX_WINHOST_READY"))
            CloseHandle(CreateFileA(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        winhost::pump(std::atoi(hold));
    }
}

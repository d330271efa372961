// A skin on a form whose device context and windows are real.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "host_window.h"
#include "ui/tabpaint.h"

namespace tab = qx::ui::tab;

TEST(SkinWindow, SkinItPaintsTheBackgroundAndHooksTabStripsAndTreeViews) {
    HWND window = winhost::makePanel(nullptr, 60, 60, 300, 200);
    HWND tabs = winhost::makePanel(window, 10, 10, 100, 100);
    HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | TVS_HASLINES, 150, 10, 100, 100, window, nullptr,
                                nullptr, nullptr);
    ASSERT_TRUE(tabs && tree) << "no window: is a display set?";
    const auto handle = [](const void* h) { return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(h)); };
    HDC dc = GetDC(window);  // the form's own device context, in pixels
    auto form = qx::MemoryObject::create(u"Form");
    form->prop(u"hdc", handle(dc)).prop(u"ScaleMode", std::int16_t{1}).prop(u"BackColor", std::int32_t{0});
    form->prop(u"ScaleWidth", std::int32_t{300}).prop(u"ScaleHeight", std::int32_t{200});
    for (auto [type, hwnd] : {std::pair{u"SSTab", tabs}, std::pair{u"TreeView", tree}}) {
        auto control = qx::MemoryObject::create(type);
        control->prop(u"hWnd", handle(hwnd));
        form->addItem(qx::ObjectRef(control));
    }

    qx::clsQXGenRtns lib;
    lib.SkinIt(form, 0x804000, 0xFFFFFF, -999, 0xC08000, -999, -999, qx::cVertical);
    lib.SetTreeViewBackColor(form, 0xF0FFF0);
    // The background colour at the top, white at the bottom, each row one colour.
    EXPECT_EQ(GetPixel(dc, 280, 0), 0xC08000u);
    EXPECT_GT(GetPixel(dc, 280, 199) & 0xFF, 0xF8u);
    EXPECT_LT(GetPixel(dc, 280, 60) & 0xFF, GetPixel(dc, 280, 140) & 0xFF);
    EXPECT_EQ(GetPixel(dc, 5, 150), GetPixel(dc, 280, 150));
    // The tab strip: hooked, a gradient from the button colour to white, in the given direction.
    std::vector<std::intptr_t> props;
    for (const char* p : {tab::kPropHooked, tab::kPropStyle, tab::kPropGradientDir, tab::kPropColor1, tab::kPropColor2})
        props.push_back(reinterpret_cast<std::intptr_t>(GetPropA(tabs, p)));
    EXPECT_EQ(props, (std::vector<std::intptr_t>{-1, tab::kGradient, 1, 0x804000, 0xFFFFFF}));
    // The tree view took the colour and still draws its lines.
    EXPECT_EQ(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0), 0xF0FFF0);
    EXPECT_TRUE(GetWindowLongA(tree, GWL_STYLE) & TVS_HASLINES);
    ReleaseDC(window, dc);
    DestroyWindow(window);
}

// The message box on a real display: as shown, over its disabled owner, answered by a click.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/hostapp.h"
#include "core/state.h"
#include "host_window.h"

TEST(MsgBoxWindow, ShownInTheStoredSkinOverItsDisabledOwnerAndAnsweredByAClick) {
    qx::state().HostApp = qx::host::makeApp(u"MyApp", u"", u"My App", u"Co", 2, 1, 7);
    HWND owner = winhost::makePanel(nullptr, 10, 10, 200, 120);
    SetActiveWindow(owner);
    qx::clsQXGenRtns lib;
    lib.SkinIt(nullptr, 0x804000, 0xFFFFFF, 0xC0C0C0, 0x008000, -999, -999, qx::cVertical);

    // Seen on the box: each button's caption, focus (*) and size, the label's alignment.
    std::vector<std::string> buttons;
    LONG labelStyle = 0;
    std::uint32_t topPixel = 0;
    bool found = false, ownerEnabled = true;
    const DWORD caller = GetCurrentThreadId();
    std::thread answer([&] {
        for (int i = 0; i < 400 && !found; ++i, Sleep(50)) {
            HWND box = FindWindowA("QXGenRtnsMsgBox", "Keep the changes");
            if (!box || !IsWindowVisible(box)) continue;
            Sleep(300);  // painted and focused
            GUITHREADINFO gui{sizeof gui, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
            GetGUIThreadInfo(caller, &gui);
            labelStyle = GetWindowLongA(GetDlgItem(box, 50), GWL_STYLE);
            for (int id = 100; HWND b = GetDlgItem(box, id); ++id) {
                char text[64] = {};
                GetWindowTextA(b, text, sizeof text);
                RECT r{};
                GetWindowRect(b, &r);
                buttons.push_back(std::string(text) + (b == gui.hwndFocus ? "*" : "") + " " +
                                  std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
            }
            HDC dc = GetDC(box);
            topPixel = GetPixel(dc, 2, 0);
            ReleaseDC(box, dc);
            ownerEnabled = IsWindowEnabled(owner) != FALSE;
            found = true;
            PostMessageA(GetDlgItem(box, 101), BM_CLICK, 0, 0);
        }
    });
    const std::int32_t result = lib.MyMsgBox(u"The document has changed.", 3 + 256 + 32, u"Keep the changes", 1);
    answer.join();
    ASSERT_TRUE(found) << "no box: is a display set?";
    EXPECT_EQ(result, 7);
    // 1215 x 495 twips at 15 twips a pixel.
    EXPECT_EQ(buttons, (std::vector<std::string>{"&Yes 81x33", "&No* 81x33", "&Cancel 81x33"}));
    EXPECT_EQ(labelStyle & SS_TYPEMASK, SS_RIGHT);
    EXPECT_EQ(topPixel, 0x008000u);  // the stored background colour at the top
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
    qx::state().HostApp = nullptr;
}

// The library's message box on a real display: found by its caption, its
// buttons read back (captions, places, focus), its background in the stored
// skin, pressed or closed by posted messages, and the result checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/hostapp.h"
#include "core/library.h"
#include "core/state.h"
#include "host_window.h"
#include "pixels.h"

namespace {

struct SeenBox {
    bool found = false;
    RECT window{}, label{};
    std::vector<HWND> handles;
    std::vector<std::string> captions;
    std::vector<RECT> buttons;  // in the form's client coordinates
    int focused = -1;
    LONG labelStyle = 0;
    std::uint32_t topPixel = 0;
    bool ownerEnabled = true;
    HWND form = nullptr;
};

BOOL CALLBACK noteChild(HWND child, LPARAM data) {
    auto& seen = *reinterpret_cast<SeenBox*>(data);
    char cls[32] = {}, text[128] = {};
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, seen.form, reinterpret_cast<POINT*>(&r), 2);
    if (lstrcmpiA(cls, "Button") == 0) {
        seen.handles.push_back(child);
        seen.captions.push_back(text);
        seen.buttons.push_back(r);
    } else {
        seen.labelStyle = GetWindowLongA(child, GWL_STYLE);
        seen.label = r;
    }
    return TRUE;
}

// Waits for the box captioned `caption`, notes what it shows, then clicks
// button `press`, or closes the box when `press` is -1.
std::thread answerBox(std::string caption, int press, SeenBox& seen, HWND owner = nullptr) {
    const DWORD caller = GetCurrentThreadId();
    return std::thread([=, &seen] {
        for (int i = 0; i < 400 && !seen.found; ++i, Sleep(50)) {
            seen.form = FindWindowA("QXGenRtnsMsgBox", caption.c_str());
            if (!seen.form || !IsWindowVisible(seen.form)) continue;
            Sleep(300);  // painted and focused
            seen.found = true;
            GetWindowRect(seen.form, &seen.window);
            EnumChildWindows(seen.form, noteChild, reinterpret_cast<LPARAM>(&seen));
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            GetGUIThreadInfo(caller, &gui);
            for (std::size_t b = 0; b < seen.handles.size(); ++b)
                if (seen.handles[b] == gui.hwndFocus) seen.focused = static_cast<int>(b);
            seen.topPixel = winhost::captureWindow(seen.form).at(2, 0);
            if (owner) seen.ownerEnabled = IsWindowEnabled(owner) != FALSE;
            if (const char* hold = std::getenv("QX_WINHOST_HOLD_MS")) {  // for the documentation's picture
                if (const char* ready = std::getenv("QX_WINHOST_READY"))
                    CloseHandle(CreateFileA(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
                Sleep(static_cast<DWORD>(std::atoi(hold)));
            }
            if (press < 0) PostMessageA(seen.form, WM_CLOSE, 0, 0);
            else PostMessageA(seen.handles.at(static_cast<std::size_t>(press)), BM_CLICK, 0, 0);
        }
    });
}

class MsgBoxWindow : public ::testing::Test {
protected:
    void SetUp() override { qx::state().HostApp = qx::host::makeApp(u"MyApp", u"", u"My App", u"Co", 2, 1, 7); }
    void TearDown() override { qx::state().HostApp = nullptr; }
    qx::clsQXGenRtns lib;
};

}  // namespace

TEST_F(MsgBoxWindow, YesNoCancelLaidOutSkinnedAndAnswered) {
    lib.SkinIt(nullptr, 0x804000, 0xFFFFFF, 0xC0C0C0, 0x008000, -999, -999, qx::cVertical);
    SeenBox seen;
    std::thread answer = answerBox("Keep the changes", 1, seen);
    const std::int32_t result =
        lib.MyMsgBox(u"The document has changed since it was saved.", 3 + 256 + 32, u"Keep the changes", 0);
    answer.join();
    ASSERT_TRUE(seen.found) << "no box: is a display set?";
    EXPECT_EQ(result, 7);
    EXPECT_EQ(seen.captions, (std::vector<std::string>{"&Yes", "&No", "&Cancel"}));
    EXPECT_EQ(seen.focused, 1);
    EXPECT_EQ(seen.labelStyle & SS_TYPEMASK, SS_LEFT);
    ASSERT_EQ(seen.buttons.size(), 3u);
    // Element 0's size (1215 x 495 twips) in one row, equal gaps, the first one gap from the edge.
    const int gap = seen.buttons[0].left;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(seen.buttons[i].right - seen.buttons[i].left, 81);
        EXPECT_EQ(seen.buttons[i].bottom - seen.buttons[i].top, 33);
        EXPECT_EQ(seen.buttons[i].top, seen.buttons[0].top);
        if (i > 0) {
            EXPECT_NEAR(seen.buttons[i].left - seen.buttons[i - 1].right, gap, 1);
        }
    }
    EXPECT_GT(seen.buttons[0].top, seen.label.bottom);
    EXPECT_EQ(seen.label.left, 7);  // 100 twips; the row ends where the label does
    EXPECT_NEAR(seen.buttons[2].right, seen.label.right - seen.label.left, 1);
    const int w = seen.window.right - seen.window.left, h = seen.window.bottom - seen.window.top;
    EXPECT_NEAR(seen.window.left, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, 1);
    EXPECT_NEAR(seen.window.top, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 1);
    EXPECT_LE(winhost::red(seen.topPixel) + winhost::blue(seen.topPixel), 4);  // &H008000 at the top
    EXPECT_NEAR(winhost::green(seen.topPixel), 0x80, 2);
}

TEST_F(MsgBoxWindow, ClosingKeepsThePreviousResultAndTheOwnerWaits) {
    winhost::registerClasses();
    auto owner = winhost::makeForm(10, 10, 200, 120, "box owner");
    ASSERT_TRUE(owner);
    SetActiveWindow(owner->hwnd());
    winhost::pump();
    qx::state().MsgBoxResult = 4;
    SeenBox seen;
    std::thread answer = answerBox("MyApp " + qx::toNarrow(qx::getVersion()), -1, seen, owner->hwnd());
    const std::int32_t result = lib.MyMsgBox(u"Closed without a press", 4 + 768, u"", 2);
    answer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(result, 4);
    EXPECT_EQ(seen.captions, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_EQ(seen.focused, 0);  // no fourth button: the focus stays on the first
    EXPECT_EQ(seen.labelStyle & SS_TYPEMASK, SS_CENTER);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner->hwnd()));
}

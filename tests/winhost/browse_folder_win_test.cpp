// The folder browser on a real display: found by its caption, centred on
// the screen, showing the prompt, starting at the given folder; confirmed
// and cancelled by posted clicks.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <string>
#include <thread>

#include "core/clsQXGenRtns.h"
#include "host_window.h"

namespace {

struct SeenDialog {
    bool found = false;
    RECT rect{};
    bool promptShown = false;
};

BOOL CALLBACK findPrompt(HWND child, LPARAM found) {
    char text[128] = {};
    GetWindowTextA(child, text, sizeof text);
    if (std::string(text) == "Select a folder from the tree.") *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

// Waits for the dialog, notes what it shows, and presses `button` on it.
std::thread answerDialog(int button, SeenDialog& seen) {
    return std::thread([button, &seen] {
        for (int i = 0; i < 400 && !seen.found; ++i) {
            HWND d = FindWindowA("#32770", "Browse for Folder");
            if (d && IsWindowVisible(d)) {
                Sleep(100);  // shown once it has been set up and moved to its place
                GetWindowRect(d, &seen.rect);
                EnumChildWindows(d, findPrompt, reinterpret_cast<LPARAM>(&seen.promptShown));
                seen.found = true;
                PostMessageA(d, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            } else {
                Sleep(50);
            }
        }
    });
}

std::string lower(std::u16string s) {
    std::string out;
    for (char16_t c : s) out += static_cast<char>(c < 128 ? std::tolower(static_cast<int>(c)) : '?');
    return out;
}

}  // namespace

TEST(BrowseFolderWindow, ConfirmingReturnsTheStartFolderGivenWithBlanks) {
    auto form = winhost::makeForm(10, 10, 200, 120, "owner");
    ASSERT_TRUE(form) << "no window: is a display set?";
    qx::clsQXGenRtns lib;
    SeenDialog seen;
    std::thread answer = answerDialog(IDOK, seen);
    const qx::String chosen = lib.BrowseFolder(u"  C:\\windows\\system32  ", form);
    answer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(lower(chosen), "c:\\windows\\system32");
    EXPECT_TRUE(seen.promptShown);
    // Centred on the screen.
    const int w = seen.rect.right - seen.rect.left, h = seen.rect.bottom - seen.rect.top;
    EXPECT_NEAR(seen.rect.left, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, 1);
    EXPECT_NEAR(seen.rect.top, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 1);
}

TEST(BrowseFolderWindow, CancellingReturnsNothing) {
    auto form = winhost::makeForm(10, 10, 200, 120, "owner");
    ASSERT_TRUE(form);
    qx::clsQXGenRtns lib;
    SeenDialog seen;
    std::thread answer = answerDialog(IDCANCEL, seen);
    const qx::String chosen = lib.BrowseFolder(u"C:\\windows", form);
    answer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(chosen, u"");
}

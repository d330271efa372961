// The folder browser on a real display: centred, at the given folder, confirmed and cancelled by clicks.
#include <gtest/gtest.h>

#include <thread>

#include "core/clsQXGenRtns.h"
#include "host_window.h"

namespace {

// The folder chosen in the browser over a form, started at `start` and closed by `button`.
qx::String browse(const char16_t* start, int button, RECT& where) {
    HWND owner = winhost::makePanel(nullptr, 10, 10, 200, 120);
    auto form = qx::MemoryObject::create(u"Form");
    form->prop(u"hWnd", static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(owner)));
    bool found = false;
    std::thread answer([&] {
        for (int i = 0; i < 400 && !found; ++i, Sleep(50)) {
            HWND d = FindWindowA("#32770", "Browse for Folder");
            if (!d || !IsWindowVisible(d)) continue;
            Sleep(100);  // shown once it has been set up and moved to its place
            GetWindowRect(d, &where);
            found = true;
            PostMessageA(d, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        }
    });
    const qx::String chosen = qx::clsQXGenRtns().BrowseFolder(start, form);
    answer.join();
    DestroyWindow(owner);
    EXPECT_TRUE(found) << "no dialog: is a display set?";
    return chosen;
}

}  // namespace

TEST(BrowseFolderWindow, ConfirmingReturnsTheTrimmedStartFolderAndCancellingNothing) {
    RECT r{};
    EXPECT_TRUE(qx::equalsNoCase(browse(u"  C:\\windows\\system32  ", IDOK, r), u"C:\\windows\\system32"));
    EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, 1);
    EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 1);
    EXPECT_EQ(browse(u"C:\\windows", IDCANCEL, r), u"");
}

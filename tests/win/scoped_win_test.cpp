// The Windows owners on real handles, keys and searches.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/scoped_win.h"

namespace {
bool isHandle(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
}
}  // namespace

TEST(UniqueHandle, NullAndInvalidBothOwnNothing) {
    EXPECT_FALSE(qx::UniqueHandle(nullptr).valid());
    EXPECT_FALSE(qx::UniqueHandle(INVALID_HANDLE_VALUE).valid());
    EXPECT_FALSE(qx::UniqueHandle().valid());
    EXPECT_TRUE(qx::UniqueHandle(INVALID_HANDLE_VALUE).close());
    EXPECT_FALSE(qx::UniqueFind(nullptr).valid());
    EXPECT_FALSE(qx::UniqueFind().valid());
}

TEST(UniqueHandle, ClosesTheHandleItOwns) {
    HANDLE raw = nullptr;
    {
        const qx::UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(event);
        raw = event.get();
        EXPECT_TRUE(isHandle(raw));
    }
    EXPECT_FALSE(isHandle(raw));
    qx::UniqueHandle kept(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    raw = kept.release();
    EXPECT_TRUE(isHandle(raw));
    EXPECT_TRUE(qx::UniqueHandle(raw).close());
    EXPECT_FALSE(isHandle(raw));
}

TEST(UniqueKey, OpensThroughPutAndCloses) {
    qx::UniqueKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    EXPECT_TRUE(key);
    EXPECT_TRUE(key.close());
    EXPECT_FALSE(key);
}

TEST(UniqueFind, WalksAndClosesASearch) {
    char folder[MAX_PATH] = {};
    ASSERT_NE(GetWindowsDirectoryA(folder, MAX_PATH), 0u);
    WIN32_FIND_DATAA found{};
    qx::UniqueFind search(FindFirstFileA((std::string(folder) + "\\*").c_str(), &found));
    ASSERT_TRUE(search);
    EXPECT_TRUE(FindNextFileA(search.get(), &found));
    EXPECT_TRUE(search.close());
    const qx::UniqueFind none(FindFirstFileA("Z:\\no such folder here\\*", &found));
    EXPECT_FALSE(none);
}

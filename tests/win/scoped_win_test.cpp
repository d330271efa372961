// The Windows owners on real handles and searches: null and the invalid
// value both own nothing, and what is owned is closed with its own call.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/scoped_win.h"

TEST(UniqueHandle, ClosesTheHandleItOwnsAndNothingElse) {
    EXPECT_FALSE(qx::UniqueHandle(INVALID_HANDLE_VALUE).valid());
    EXPECT_FALSE(qx::UniqueHandle(nullptr).valid());
    EXPECT_FALSE(qx::UniqueFind(nullptr).valid());
    HANDLE raw = nullptr;
    {
        const qx::UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        raw = event.get();
        EXPECT_TRUE(event.valid());
    }
    DWORD flags = 0;
    EXPECT_EQ(GetHandleInformation(raw, &flags), 0) << "the handle was closed";
}

TEST(UniqueFind, WalksAndClosesASearch) {
    char folder[MAX_PATH] = {};
    ASSERT_NE(GetWindowsDirectoryA(folder, MAX_PATH), 0u);
    WIN32_FIND_DATAA found{};
    qx::UniqueFind search(FindFirstFileA((std::string(folder) + "\\*").c_str(), &found));
    ASSERT_TRUE(search);
    EXPECT_TRUE(FindNextFileA(search.get(), &found));
    EXPECT_TRUE(search.close()) << "closed with FindClose";
    EXPECT_FALSE(qx::UniqueFind(FindFirstFileA("Z:\\no such folder here\\*", &found)).valid());
}

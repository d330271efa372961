// The Windows port of the core: narrow text in the ANSI code page, as the
// system's "A" functions take it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/qxstring.h"
#include "core/scoped_win.h"

using qx::String;

TEST(WinNarrow, NamesReachTheAnsiFunctionsUnchanged) {
    CPINFO info{};
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1) GTEST_SKIP() << "the ANSI code page is multi-byte";
    // Whatever letter the code page has at 0xE9; a character outside it neither breaks nor ends the text.
    const String letter = qx::fromNarrow("\xE9");
    ASSERT_EQ(letter.size(), 1u);
    EXPECT_EQ(qx::toNarrow(letter), "\xE9");
    EXPECT_EQ(qx::toNarrow(u"a\u4E2D\u6587b").size(), 4u);

    // A file named through the wide API is found by the ANSI one under the converted name.
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const String name = u"qx_narrow_" + letter + qx::toDecimal(GetCurrentProcessId()) + u".tmp";
    const String path = String(reinterpret_cast<const char16_t*>(temp)) + name;
    ASSERT_TRUE(qx::UniqueHandle(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
                    .valid());
    WIN32_FIND_DATAA found{};
    const qx::UniqueFind search(FindFirstFileA(qx::toNarrow(path).c_str(), &found));
    ASSERT_TRUE(search.valid());
    EXPECT_EQ(qx::fromNarrow(found.cFileName), name);
    EXPECT_TRUE(DeleteFileA(qx::toNarrow(path).c_str()));
}

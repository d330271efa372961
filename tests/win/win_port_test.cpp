// The Windows port of the core: narrow text in the ANSI code page, dates as
// text through the host runtime's conversions, the screen from the system
// metrics, and DoEvents as the thread's message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/date.h"
#include "core/error.h"
#include "core/qxstring.h"
#include "core/screen_sys.h"
#include "test_support.h"

using qx::String;
using qxtest::runOnFreshThread;

namespace {
bool singleByteAnsiCodePage() {
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

const wchar_t* wide(const String& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
}  // namespace

TEST(WinNarrow, AnsiCodePageBytes) {
    EXPECT_EQ(qx::toNarrow(u""), "");
    EXPECT_EQ(qx::fromNarrow(""), u"");
    EXPECT_EQ(qx::toNarrow(u"MyApp.ini"), "MyApp.ini");
    if (GetACP() == 1252) {
        EXPECT_EQ(qx::toNarrow(u"caf\u00E9"), "caf\xE9");
        EXPECT_EQ(qx::fromNarrow("\xC4" "bc"), u"\u00C4bc");
    }
}

TEST(WinNarrow, NamesReachTheAnsiFunctionsUnchanged) {
    if (!singleByteAnsiCodePage()) GTEST_SKIP() << "the ANSI code page " << GetACP() << " is multi-byte";
    // Whatever letter the code page has at 0xE9 ("é" in the Western one).
    const String letter = qx::fromNarrow("\xE9");
    ASSERT_EQ(letter.size(), 1u);
    EXPECT_EQ(qx::toNarrow(letter), "\xE9");

    // A file named through the wide API is found by the ANSI one under the converted name.
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const String name = u"qx_narrow_" + letter + qx::toDecimal(GetCurrentProcessId()) + u".tmp";
    const String path = String(reinterpret_cast<const char16_t*>(temp)) + name;
    HANDLE h = CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);

    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(qx::toNarrow(path).c_str(), &found);
    EXPECT_NE(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) {
        EXPECT_EQ(qx::fromNarrow(found.cFileName), name);
        FindClose(search);
    }
    EXPECT_TRUE(DeleteFileA(qx::toNarrow(path).c_str()));
    EXPECT_EQ(GetFileAttributesW(wide(path)), INVALID_FILE_ATTRIBUTES);
}

TEST(WinNarrow, CharactersOutsideTheCodePageDoNotBreakTheText) {
    if (!singleByteAnsiCodePage()) GTEST_SKIP() << "the ANSI code page " << GetACP() << " is multi-byte";
    const std::string narrow = qx::toNarrow(u"a\u4E2D\u6587b");
    ASSERT_EQ(narrow.size(), 4u);
    EXPECT_EQ(narrow.front(), 'a');
    EXPECT_EQ(narrow.back(), 'b');
    EXPECT_EQ(narrow.find('\0'), std::string::npos);
    const String back = qx::fromNarrow(narrow);
    EXPECT_EQ(back.size(), 4u);
    EXPECT_EQ(back.find(u'\u4E2D'), String::npos);
}

TEST(WinDateText, RoundTripsThroughTheHostRuntime) {
    // 2000-01-01 18:00, that day alone, 18:00 alone, a time before 1899-12-30,
    // 1900-01-01 and a day in 1950 (no two-digit year window may move it).
    for (const double d : {36526.75, 36526.0, 0.75, -1.25, 2.0, 18429.5}) {
        const String text = qx::dateToText(d);
        EXPECT_DOUBLE_EQ(qx::textToDate(text), d) << qx::toUtf8(text);
    }
    const String dateOnly = qx::dateToText(36526.0);
    const String timeOnly = qx::dateToText(0.75);
    const String both = qx::dateToText(36526.75);
    EXPECT_NE(dateOnly.find(u"2000"), String::npos) << qx::toUtf8(dateOnly);
    EXPECT_EQ(timeOnly.find(u"1899"), String::npos) << qx::toUtf8(timeOnly);
    EXPECT_GT(both.size(), dateOnly.size());
    EXPECT_GT(both.size(), timeOnly.size());

    EXPECT_RAISES(qx::err::TypeMismatch, qx::textToDate(u"not a date"));
    EXPECT_RAISES(qx::err::TypeMismatch, qx::textToDate(u""));
}

TEST(WinScreen, SizeInTwipsFromTheSystemMetrics) {
    const auto screen = qx::platformScreen();
    const std::int32_t tppX = screen->twipsPerPixelX();
    const std::int32_t tppY = screen->twipsPerPixelY();
    ASSERT_GT(tppX, 0);
    ASSERT_GT(tppY, 0);

    HDC dc = GetDC(nullptr);
    const int dpiX = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc) ReleaseDC(nullptr, dc);
    if (dpiX == 96) {
        EXPECT_EQ(tppX, 15);
    }

    EXPECT_GT(screen->width(), 0);
    EXPECT_GT(screen->height(), 0);
    EXPECT_EQ(screen->width() % tppX, 0);
    EXPECT_EQ(screen->height() % tppY, 0);
    EXPECT_EQ(screen->width() / tppX, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screen->height() / tppY, GetSystemMetrics(SM_CYSCREEN));
    // With no screen installed by a host, the library uses the system's.
    EXPECT_EQ(qx::screen().width(), screen->width());

    screen->setMousePointer(11);
    EXPECT_EQ(screen->mousePointer(), 11);
    screen->setMousePointer(0);
    EXPECT_EQ(screen->mousePointer(), 0);
}

TEST(WinMessagePump, DoEventsRemovesPendingThreadMessages) {
    runOnFreshThread([] {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its message queue
        ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, 7, 0));
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
        EXPECT_EQ(msg.wParam, 7u);

        // A host's own pump replaces the system loop: the message stays queued.
        int hostPumpRuns = 0;
        qx::setMessagePump([&] { ++hostPumpRuns; });
        qx::doEvents();
        qx::setMessagePump({});
        EXPECT_EQ(hostPumpRuns, 1);
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));

        qx::doEvents();
        EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
    });
}

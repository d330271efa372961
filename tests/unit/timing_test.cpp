// Elapsed times between stamps and waits; the screen-size check, with the
// host's screen and message box replaced by the test's.
#include <gtest/gtest.h>

#include <memory>

#include "core/date.h"
#include "core/hostapp.h"
#include "core/msgbox.h"
#include "core/screen.h"
#include "core/state.h"
#include "sysinfo/display.h"
#include "test_support.h"
#include "timing/timing.h"

using qx::String;
namespace timing = qx::timing;

TEST(Timing, ElapsedTimeBetweenStamps) {
    const String now = timing::timeStamp();
    EXPECT_EQ(timing::elapsedTime(now, now), u"00:00:00");
    const double base = qx::toDateValue({2026, 12, 4, 17, 6, 13});
    const String start = qx::dateToText(base);
    EXPECT_EQ(timing::elapsedTime(start, qx::dateToText(base + 3725.0 / 86400)), u"01:02:05");
    EXPECT_EQ(timing::elapsedTime(start, qx::dateToText(base + 1)), u"") << "a day is no time of day";
    EXPECT_EQ(timing::elapsedTime(qx::dateToText(qx::toDateValue({2026, 12, 4, 23, 59, 30})),
                                  qx::dateToText(qx::toDateValue({2026, 12, 5, 0, 0, 10}))),
              u"00:00:40");
    EXPECT_EQ(timing::elapsedTime(qx::dateToText(base + 10.0 / 86400), start), u"")
        << "a stop before the start is a negative count";
    EXPECT_RAISES(qx::err::TypeMismatch, timing::elapsedTime(u"not a date", start));
}

TEST(Timing, WaitsEndWithTheClocksSecond) {
    qxtest::runOnFreshThread([] {
        int pumped = 0;
        qx::setMessagePump([&] { ++pumped; });
        timing::waitSeconds(0);
        timing::waitSeconds(-5);
        EXPECT_EQ(pumped, 0) << "nothing to wait for, nothing processed";
        EXPECT_RAISES(qx::err::Overflow, timing::waitSeconds(40000));
        const double before = qx::nowLocal();
        timing::waitSeconds(1);
        EXPECT_GE(qx::nowLocal(), before + 1.0 / 86400 - 1e-9) << "the clock's second has changed";
        EXPECT_GT(pumped, 0) << "window messages were processed while waiting";
        qx::setMessagePump(nullptr);
    });
}

// A screen of 14,010 by 6,030 twips at 14 and 12 twips a pixel: 1000.71 by
// 502.5 pixels, which round to 1001 by 502 (the half to the even neighbour).
TEST(DisplayChecks, ScreenSizeAgainstMinimumsInRoundedPixels) {
    class OddScreen : public qx::FixedScreen {
    public:
        OddScreen() : FixedScreen(0, 0, 1) {}
        std::int32_t width() override { return 14010; }
        std::int32_t height() override { return 6030; }
        std::int32_t twipsPerPixelX() override { return 14; }
        std::int32_t twipsPerPixelY() override { return 12; }
    };
    qxtest::runOnFreshThread([] {
        String seen;  // title, style and text of the box shown
        qx::setScreen(std::make_shared<OddScreen>());
        qx::setMessageBoxHandler([&](const String& text, std::int32_t style, const String& title) {
            seen = title + u"|" + qx::toDecimal(style) + u"|" + text;
            return 1;
        });
        EXPECT_RAISES(qx::err::ObjectNotSet, qx::sysinfo::checkScreenSize(1024, 768)) << "no host object to name";
        qx::state().HostApp = qx::host::makeApp(u"Viewer", u"", u"Viewer", u"QX", 1, 0, 0);
        // Passes when either side is large enough.
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(1001, 5000));
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(5000, 502));
        EXPECT_EQ(seen, u"");
        EXPECT_FALSE(qx::sysinfo::checkScreenSize(1002, 503));
        EXPECT_EQ(seen, u"Viewer Video Display|64|To properly display this application, your video \r\n"
                        u"resolution should be set to 1002x503 or greater.");
        qx::setMessageBoxHandler(nullptr);
        qx::setScreen(nullptr);
    });
}

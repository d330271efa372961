// Elapsed times between stamps; the screen-size check, with the host's
// screen and message box replaced by the test's.
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
    // From 23:59:30: across midnight; a day is no time of day, and a stop before the start a negative count.
    const double base = qx::toDateValue({2026, 12, 4, 23, 59, 30});
    const String start = qx::dateToText(base);
    auto until = [&](double seconds) { return timing::elapsedTime(start, qx::dateToText(base + seconds / 86400)); };
    EXPECT_EQ(until(40), u"00:00:40");
    EXPECT_EQ(until(3725), u"01:02:05");
    EXPECT_EQ(until(86400), u"");
    EXPECT_EQ(until(-10), u"");
    EXPECT_RAISES(qx::err::TypeMismatch, timing::elapsedTime(u"not a date", start));
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
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(1001, 5000)) << "passes when either side is large enough";
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(5000, 502));
        EXPECT_EQ(seen, u"");
        EXPECT_FALSE(qx::sysinfo::checkScreenSize(1002, 503));
        EXPECT_EQ(seen, u"Viewer Video Display|64|To properly display this application, your video \r\n"
                        u"resolution should be set to 1002x503 or greater.");
        qx::setMessageBoxHandler(nullptr);
        qx::setScreen(nullptr);
    });
}

// Time stamps, elapsed times and waits; the screen-size check and the
// display-settings comparison, with the host's screen and message box
// replaced by ones the test controls.
#include <gtest/gtest.h>

#include <memory>

#include "core/date.h"
#include "core/hostapp.h"
#include "core/library.h"
#include "core/msgbox.h"
#include "core/screen.h"
#include "core/state.h"
#include "sysinfo/display.h"
#include "test_support.h"
#include "timing/timing.h"

using qx::String;
namespace timing = qx::timing;

TEST(Timing, ElapsedTimeBetweenStamps) {
    const String a = timing::timeStamp();
    EXPECT_EQ(a, qx::trim(a)) << "a stamp carries no outer blanks";
    EXPECT_EQ(timing::elapsedTime(a, a), u"00:00:00");
    const double base = qx::toDateValue({2026, 12, 4, 17, 6, 13});
    const String start = qx::dateToText(base);
    EXPECT_EQ(timing::elapsedTime(start, qx::dateToText(base + 3725.0 / 86400)), u"01:02:05");
    EXPECT_EQ(timing::elapsedTime(start, qx::dateToText(base + 1 + 59.0 / 86400)), u"")
        << "a day and more is no time of day";
    // Across midnight: 23:59:30 to 00:00:10 the next day.
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
        const double before = qx::nowLocal();
        timing::waitSeconds(0);
        timing::waitSeconds(-5);
        EXPECT_EQ(pumped, 0) << "nothing to wait for, nothing processed";
        EXPECT_RAISES(qx::err::Overflow, timing::waitSeconds(40000));
        timing::waitSeconds(1);
        EXPECT_GE(qx::nowLocal(), before + 1.0 / 86400 - 1e-9) << "the clock's second has changed";
        EXPECT_GT(pumped, 0) << "window messages were processed while waiting";
        qx::setMessagePump(nullptr);
    });
}

namespace {
struct Recorder {
    int shown = 0;
    String text;
    String title;
    std::int32_t style = 0;
};

void withScreen(int width, int height, const std::function<void(Recorder&)>& body) {
    qxtest::runOnFreshThread([&] {
        Recorder rec;
        qx::setScreen(std::make_shared<qx::FixedScreen>(width, height, 15));
        qx::setMessageBoxHandler([&rec](const String& text, std::int32_t style, const String& title) {
            ++rec.shown;
            rec.text = text;
            rec.style = style;
            rec.title = title;
            return 1;
        });
        qx::state().HostApp = qx::host::makeApp(u"Viewer", u"", u"Viewer", u"QX", 1, 0, 0);
        body(rec);
        qx::setMessageBoxHandler(nullptr);
        qx::setScreen(nullptr);
    });
}
}  // namespace

TEST(DisplayChecks, ScreenSizeAgainstMinimums) {
    withScreen(1280, 720, [](Recorder& rec) {
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(0, 0));
        EXPECT_EQ(qx::state().ScreenWidthPixels, 1280);
        EXPECT_EQ(qx::state().ScreenHeightPixels, 720);
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(1024, 768)) << "the width is large enough";
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(1280, 720)) << "equal passes";
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(-1, 5000));
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(5000, -1));
        EXPECT_EQ(rec.shown, 0);
    });
    withScreen(800, 600, [](Recorder& rec) {
        EXPECT_FALSE(qx::sysinfo::checkScreenSize(1024, 768));
        EXPECT_EQ(rec.shown, 1);
        EXPECT_EQ(rec.text,
                  u"To properly display this application, your video \r\nresolution should be set to 1024x768 or greater.");
        EXPECT_EQ(rec.title, u"Viewer Video Display");
        EXPECT_EQ(rec.style, 64);
        EXPECT_EQ(qx::state().ScreenWidthPixels, 800);
    });
}

TEST(DisplayChecks, ScreenSizeRoundsHalvesToEven) {
    qxtest::runOnFreshThread([] {
        // 14,010 twips at 14 a pixel are 1000.71 pixels; 6,030 at 12 are 502.5.
        class OddScreen : public qx::FixedScreen {
        public:
            OddScreen() : FixedScreen(0, 0, 1) {}
            std::int32_t width() override { return 14010; }
            std::int32_t height() override { return 6030; }
            std::int32_t twipsPerPixelX() override { return 14; }
            std::int32_t twipsPerPixelY() override { return 12; }
        };
        qx::setScreen(std::make_shared<OddScreen>());
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(0, 0));
        EXPECT_EQ(qx::state().ScreenWidthPixels, 1001);
        EXPECT_EQ(qx::state().ScreenHeightPixels, 502) << "502.5 goes to the even neighbour";
        qx::setScreen(nullptr);
    });
}

TEST(DisplayChecks, NoHostObjectMeansError91WhenTheMessageIsDue) {
    qxtest::runOnFreshThread([] {
        qx::setScreen(std::make_shared<qx::FixedScreen>(640, 480, 15));
        EXPECT_RAISES(qx::err::ObjectNotSet, qx::sysinfo::checkScreenSize(1024, 768));
        EXPECT_TRUE(qx::sysinfo::checkScreenSize(0, 0));
        qx::setScreen(nullptr);
    });
}

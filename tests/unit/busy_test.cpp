// The busy pointer: on the screen without a form, on the form alone with one,
// pending messages let run at once, and a form without the member passed over.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "core/clsQXGenRtns.h"
#include "core/screen.h"
#include "form_support.h"
#include "test_support.h"

TEST(BusyPointer, ScreenWithoutAFormOnlyTheFormWithOne) {
    qxtest::runOnFreshThread([] {
        qx::setScreen(std::make_shared<qx::FixedScreen>(800, 600, 15));
        int pumped = 0;
        qx::setMessagePump([&] { ++pumped; });
        qx::clsQXGenRtns lib;

        lib.HourGlassOn();
        EXPECT_EQ(qx::screen().mousePointer(), 11);
        EXPECT_EQ(pumped, 1);
        lib.HourGlassOff();
        EXPECT_EQ(qx::screen().mousePointer(), 0);

        auto frm = qxtest::form(u"frmMain", {});
        lib.HourGlassOn(frm);
        EXPECT_EQ(frm->get(u"MousePointer").toInt16(), 11);
        EXPECT_EQ(qx::screen().mousePointer(), 0);
        lib.HourGlassOff(frm);
        EXPECT_EQ(frm->get(u"MousePointer").toInt16(), 0);

        // A form without MousePointer: no error, the screen untouched, messages still run.
        EXPECT_NO_THROW(lib.HourGlassOn(qx::MemoryObject::create(u"Label")));
        EXPECT_EQ(qx::screen().mousePointer(), 0);
        EXPECT_EQ(pumped, 5);
        qx::setMessagePump(nullptr);
        qx::setScreen(nullptr);
    });
}

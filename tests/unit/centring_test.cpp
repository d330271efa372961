// Centring: the positions (unrounded), the order of the changes under the busy pointer, the errors.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/screen.h"
#include "form_support.h"
#include "test_support.h"

// An assignment to the object: the property, its new value and the screen's pointer at that moment.
using Change = std::tuple<qx::String, double, std::int16_t>;

TEST(Centring, PositionsAndTheSizePutBackUnderTheBusyPointer) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        qx::setScreen(std::make_shared<qx::FixedScreen>(800, 600, 15));  // 12000 x 9000 twips, on this thread
        int pumped = 0;
        qx::setMessagePump([&] { ++pumped; });
        std::vector<Change> changes;
        auto obj = qxtest::control(0, 0, 1000.4, 600.5);  // the size is kept as whole numbers, halves to even
        obj->onSet([&](const qx::String& n, const qx::Variant& v) {
            changes.emplace_back(n, v.toDouble(), qx::screen().mousePointer());
        });
        lib.CenterObject(obj);
        EXPECT_EQ(changes, (std::vector<Change>{{u"Top", 4500 - 300.25, 11}, {u"Left", 6000 - 500.2, 11}}));
        EXPECT_EQ(qx::screen().mousePointer(), 0);
        EXPECT_EQ(pumped, 1);
        changes.clear();
        lib.CenterInControl(obj, qxtest::control(1000, 500, 3001, 2000));
        EXPECT_EQ(changes, (std::vector<Change>{{u"Top", 500 + 1000 - 300.25, 11},
                                                {u"Left", 1000 + 1500.5 - 500.2, 11},
                                                {u"Height", 600, 0},
                                                {u"Width", 1000, 0}}));

        // A missing member or object reaches the caller.
        auto timer = qx::MemoryObject::create(u"Timer");
        timer->prop(u"Height", 100.0).prop(u"Width", 100.0);
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.CenterObject(timer));
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.CenterInControl(obj, timer));  // no Top
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.CenterInForm(obj, nullptr));
    });
}

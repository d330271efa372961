// Centring on the screen, on a control and on a form: the positions, the
// order in which the object is changed, the busy pointer around the move, and
// the errors a missing member raises.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/screen.h"
#include "form_support.h"
#include "test_support.h"

using qx::String;
using qx::Variant;
using qxtest::control;
using qxtest::num;
using qxtest::runOnFreshThread;

namespace {

// Records every assignment with the screen pointer at that moment.
struct Recorder {
    std::vector<std::pair<String, double>> sets;
    std::vector<std::int16_t> pointers;
    void watch(const qxtest::MemoryRef& obj) {
        obj->onSet([this](const String& n, const Variant& v) {
            sets.emplace_back(n, v.toDouble());
            pointers.push_back(qx::screen().mousePointer());
        });
    }
};

}  // namespace

TEST(Centring, CenterObjectUsesTheScreenUnroundedUnderTheBusyPointer) {
    runOnFreshThread([] {
        qx::setScreen(std::make_shared<qx::FixedScreen>(800, 600, 15));  // 12000 x 9000 twips
        int pumped = 0;
        qx::setMessagePump([&] { ++pumped; });
        qx::clsQXGenRtns lib;
        auto frm = qxtest::form(u"frmMsg", {}, 4001, 4000);
        Recorder rec;
        rec.watch(frm);

        lib.CenterObject(frm);
        ASSERT_EQ(rec.sets.size(), 2u);
        EXPECT_EQ(rec.sets[0].first, u"Top");
        EXPECT_EQ(rec.sets[0].second, 2500);
        EXPECT_EQ(rec.sets[1].first, u"Left");
        EXPECT_EQ(rec.sets[1].second, 3999.5);  // handed over unrounded
        EXPECT_EQ(rec.pointers, (std::vector<std::int16_t>{11, 11}));
        EXPECT_EQ(qx::screen().mousePointer(), 0);
        EXPECT_EQ(pumped, 1);
        qx::setMessagePump(nullptr);
        qx::setScreen(nullptr);
    });
}

TEST(Centring, CenterOnAControlOrFormPutsTheSizeBackLast) {
    runOnFreshThread([] {
        qx::setScreen(std::make_shared<qx::FixedScreen>(800, 600, 15));
        qx::clsQXGenRtns lib;
        auto ctl = control(1000, 500, 3001, 2000);
        auto frm = qxtest::form(u"frmMain", {}, 9000, 7000);
        frm->set(u"Left", 300.0);
        frm->set(u"Top", 200.0);

        auto obj = control(0, 0, 1000.4, 600.5);  // sizes remembered as whole numbers, halves to even
        Recorder rec;
        rec.watch(obj);
        lib.CenterInControl(obj, ctl);
        ASSERT_EQ(rec.sets.size(), 4u);
        EXPECT_EQ(rec.sets[0], std::make_pair(String(u"Top"), 500 + 1000 - 600.5 / 2));
        EXPECT_EQ(rec.sets[1], std::make_pair(String(u"Left"), 1000 + 1500.5 - 1000.4 / 2));
        EXPECT_EQ(rec.sets[2], std::make_pair(String(u"Height"), 600.0));
        EXPECT_EQ(rec.sets[3], std::make_pair(String(u"Width"), 1000.0));
        EXPECT_EQ(rec.pointers, (std::vector<std::int16_t>{11, 11, 0, 0}));

        lib.CenterInForm(obj, frm);
        EXPECT_EQ(num(obj, u"Top"), 200 + 3500 - 300);
        EXPECT_EQ(num(obj, u"Left"), 300 + 4500 - 500);
        qx::setScreen(nullptr);
    });
}

TEST(Centring, AMissingMemberOrObjectReachesTheCaller) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto noTop = qx::MemoryObject::create(u"Timer");
        noTop->prop(u"Height", 100.0).prop(u"Width", 100.0);
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.CenterObject(noTop));
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.CenterObject(nullptr));

        auto obj = control(0, 0, 100, 100);
        auto noWidth = qx::MemoryObject::create(u"Shape");
        noWidth->prop(u"Left", 0.0).prop(u"Top", 0.0).prop(u"Height", 10.0);
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.CenterInControl(obj, noWidth));
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.CenterInForm(obj, nullptr));
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.CenterInForm(noTop, obj));
        obj->set(u"Height", u"tall");
        EXPECT_RAISES(qx::err::TypeMismatch, lib.CenterInForm(obj, qxtest::form(u"f", {})));
    });
}

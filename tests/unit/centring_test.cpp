// Centring on the screen, on a control and on a form: the positions (unrounded),
// the order of the changes under the busy pointer, and the errors a missing
// member or object raises.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/screen.h"
#include "form_support.h"
#include "test_support.h"

using qx::String;
using qxtest::control;

namespace {
// Each assignment to the object, with the screen's pointer at that moment.
using Change = std::pair<String, double>;
struct Recorder {
    std::vector<Change> changes;
    std::vector<std::int16_t> pointers;
    explicit Recorder(const qxtest::MemoryRef& obj) {
        obj->onSet([this](const String& n, const qx::Variant& v) {
            changes.emplace_back(n, v.toDouble());
            pointers.push_back(qx::screen().mousePointer());
        });
    }
};
}  // namespace

TEST(Centring, OnTheScreenUnderTheBusyPointer) {
    qxtest::runOnFreshThread([] {
        qx::setScreen(std::make_shared<qx::FixedScreen>(800, 600, 15));  // 12000 x 9000 twips
        int pumped = 0;
        qx::setMessagePump([&] { ++pumped; });
        auto frm = qxtest::form(u"frmMsg", {}, 4001, 4000);
        Recorder rec(frm);
        qx::clsQXGenRtns().CenterObject(frm);
        EXPECT_EQ(rec.changes, (std::vector<Change>{{u"Top", 2500}, {u"Left", 3999.5}}));
        EXPECT_EQ(rec.pointers, (std::vector<std::int16_t>{11, 11}));
        EXPECT_EQ(qx::screen().mousePointer(), 0);
        EXPECT_EQ(pumped, 1);
        qx::setMessagePump(nullptr);
        qx::setScreen(nullptr);
    });
}

TEST(Centring, OnAControlOrFormPutsTheSizeBackLast) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto ctl = control(1000, 500, 3001, 2000);
        auto obj = control(0, 0, 1000.4, 600.5);  // the size is remembered as whole numbers, halves to even
        Recorder rec(obj);
        lib.CenterInControl(obj, ctl);
        EXPECT_EQ(rec.changes, (std::vector<Change>{{u"Top", 500 + 1000 - 300.25},
                                                    {u"Left", 1000 + 1500.5 - 500.2},
                                                    {u"Height", 600},
                                                    {u"Width", 1000}}));
        EXPECT_EQ(rec.pointers, (std::vector<std::int16_t>{11, 11, 0, 0}));

        auto frm = qxtest::form(u"frmMain", {}, 9000, 7000);
        frm->set(u"Left", 300.0);
        frm->set(u"Top", 200.0);
        lib.CenterInForm(obj, frm);
        EXPECT_EQ(qxtest::num(obj, u"Top"), 200 + 3500 - 300);
        EXPECT_EQ(qxtest::num(obj, u"Left"), 300 + 4500 - 500);
    });
}

TEST(Centring, AMissingMemberOrObjectReachesTheCaller) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto timer = qx::MemoryObject::create(u"Timer");
        timer->prop(u"Height", 100.0).prop(u"Width", 100.0);
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.CenterObject(timer));
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.CenterObject(nullptr));
        auto obj = control(0, 0, 100, 100);
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.CenterInControl(obj, timer));  // no Top
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.CenterInForm(obj, nullptr));
        obj->set(u"Height", u"tall");
        EXPECT_RAISES(qx::err::TypeMismatch, lib.CenterInForm(obj, qxtest::form(u"f", {})));
    });
}

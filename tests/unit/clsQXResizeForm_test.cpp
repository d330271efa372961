// Proportional resizing: the factors worked out from the farthest edges,
// truncated to two decimals; the rounding of the scaled values; which
// controls are moved, which are passed over, and that nothing is raised.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "form_support.h"
#include "test_support.h"
#include "ui/clsQXResizeForm.h"

using qx::Variant;
using qxtest::control;
using qxtest::num;

TEST(ResizeFactor, TruncatesToTwoDecimalsOnlyWhenAnEdgeReachesPast) {
    EXPECT_EQ(qx::ui::resizeFactor(10000, 12000), 0.83f);  // 83.33 truncated, not rounded
    EXPECT_EQ(qx::ui::resizeFactor(10000, 10600), 0.94f);  // 94.34
    EXPECT_EQ(qx::ui::resizeFactor(2000, 3000), 0.66f);    // 66.67 would round to 0.67
    EXPECT_EQ(qx::ui::resizeFactor(5000, 10000), 0.5f);
    EXPECT_EQ(qx::ui::resizeFactor(5700, 10000), 0.56f);  // 0.57 x 100 falls just short of 57 in doubles
    EXPECT_EQ(qx::ui::resizeFactor(10000, 0), 1.0f);
    EXPECT_EQ(qx::ui::resizeFactor(10000, 0.5), 1.0f);
}

TEST(ResizeFactor, ScaledValuesRoundHalfToEven) {
    EXPECT_EQ(qx::ui::scaledLength(5, 0.5f), 2);
    EXPECT_EQ(qx::ui::scaledLength(7, 0.5f), 4);
    EXPECT_EQ(qx::ui::scaledLength(-5, 0.5f), -2);
    EXPECT_EQ(qx::ui::scaledLength(12000, 0.83f), 9960);
    EXPECT_EQ(qx::ui::scaledLength(100, 0.83f), 83);
    EXPECT_RAISES(qx::err::Overflow, qx::ui::scaledLength(5e9, 1.0f));
}

TEST(ResizeForm, FactorsComeFromTheFarthestEdgesPastTheForm) {
    auto inside = control(100, 100, 2000, 1000);
    auto wide = control(9000, 0, 3000, 500);     // right edge 12000 on a form 10000 wide
    auto wider = control(8000, 7000, 3500, 2000);  // right 11500, bottom 9000 on a form 8000 high
    auto line = qxtest::lineControl();            // no position: no part in the measuring
    auto frm = qxtest::form(u"frmBig", {inside, wide, line, wider}, 10000, 8000);

    qx::clsQXResizeForm r;
    r.InitResizeArray(frm);
    ASSERT_TRUE(r.initialised());
    ASSERT_EQ(r.factors().size(), 4u);
    for (const auto& f : r.factors()) {
        EXPECT_EQ(f.Width, 0.83f);
        EXPECT_EQ(f.Left, 0.83f);
        EXPECT_EQ(f.Height, 0.88f);  // 8000 / 9000 = 0.888...
        EXPECT_EQ(f.Top, 0.88f);
    }

    r.ResizeControls(frm);
    EXPECT_EQ(num(wide, u"Left"), 7470);
    EXPECT_EQ(num(wide, u"Width"), 2490);
    EXPECT_EQ(num(wider, u"Top"), 6160);
    EXPECT_EQ(num(wider, u"Height"), 1760);
    EXPECT_EQ(num(inside, u"Left"), 83);
    EXPECT_FALSE(line->has(u"Left"));
}

TEST(ResizeForm, ALayoutThatFitsStaysWhereItIs) {
    auto a = control(100, 200, 3000, 1500);
    auto b = control(6999, 4000, 3001, 4000);  // touching the edges is not past them
    auto frm = qxtest::form(u"frmFits", {a, b}, 10000, 8000);
    qx::clsQXResizeForm r;
    r.InitResizeArray(frm);
    for (const auto& f : r.factors()) {
        EXPECT_EQ(f.Width, 1.0f);
        EXPECT_EQ(f.Height, 1.0f);
    }
    r.ResizeControls(frm);
    EXPECT_EQ(num(b, u"Left"), 6999);
    EXPECT_EQ(num(b, u"Width"), 3001);
    EXPECT_EQ(num(a, u"Top"), 200);
}

TEST(ResizeForm, NoResizeControlsAndFailingControlsArePassedOver) {
    auto marked = control(1000, 1000, 1000, 1000);
    marked->set(u"Tag", u"noresize");
    auto noMove = qx::MemoryObject::create(u"Timer");
    noMove->prop(u"Left", 500.0).prop(u"Top", 500.0).prop(u"Width", 100.0).prop(u"Height", 100.0);
    auto stubborn = control(2000, 2000, 1000, 1000);
    stubborn->method(u"Move", [](const std::vector<Variant>&) -> Variant { qx::raise(5); });
    auto noTag = qx::MemoryObject::create(u"Shape");
    std::vector<Variant> moved;
    noTag->prop(u"Left", 20000.0).prop(u"Top", 0.0).prop(u"Width", 0.0).prop(u"Height", 0.0);
    noTag->method(u"Move", [&](const std::vector<Variant>& a) {
        moved = a;
        return Variant();
    });
    auto plain = control(4000, 4000, 2000, 2000);
    auto frm = qxtest::form(u"frmMixed", {marked, noMove, stubborn, noTag, plain}, 10000, 8000);
    frm->set(u"ScaleMode", std::int16_t{3});

    qx::clsQXResizeForm r;
    r.InitResizeArray(frm);  // farthest right 20000: factor 0.5 across, 1 down
    frm->set(u"ScaleMode", std::int16_t{1});
    r.ResizeControls(frm);
    EXPECT_EQ(frm->get(u"ScaleMode").toInt16(), 3);  // the mode of the measuring is put back

    EXPECT_EQ(num(marked, u"Left"), 1000);
    EXPECT_EQ(num(marked, u"Width"), 1000);
    EXPECT_EQ(num(noMove, u"Left"), 500);
    EXPECT_EQ(num(stubborn, u"Left"), 2000);
    ASSERT_EQ(moved.size(), 4u);  // a control without a Tag cannot be marked, so it is moved
    EXPECT_EQ(moved[0].toInt32(), 10000);
    EXPECT_EQ(num(plain, u"Left"), 2000);  // reached past every failing control
    EXPECT_EQ(num(plain, u"Top"), 4000);
}

TEST(ResizeForm, EveryCallScalesAgainAndNothingHappensBeforeMeasuring) {
    auto a = control(4000, 4000, 2000, 2000);
    auto far = control(18000, 14000, 2000, 2000);
    auto frm = qxtest::form(u"frm", {a, far}, 10000, 8000);
    qx::clsQXResizeForm r;
    r.ResizeControls(frm);
    EXPECT_EQ(num(a, u"Left"), 4000);

    r.InitResizeArray(frm);  // 10000 / 20000 and 8000 / 16000: 0.5 both ways
    r.ResizeControls(frm);
    r.ResizeControls(frm);
    EXPECT_EQ(num(a, u"Left"), 1000);
    EXPECT_EQ(num(a, u"Height"), 500);
    EXPECT_EQ(num(far, u"Top"), 3500);

    // Fewer controls than were measured, a form without controls, no form: no harm, nothing raised.
    auto fewer = qxtest::form(u"frm", {a});
    EXPECT_NO_THROW(r.ResizeControls(fewer));
    EXPECT_EQ(num(a, u"Left"), 500);
    EXPECT_NO_THROW(r.ResizeControls(qx::MemoryObject::create(u"Label")));
    EXPECT_NO_THROW(r.ResizeControls(nullptr));
    EXPECT_NO_THROW(r.InitResizeArray(nullptr));
    EXPECT_EQ(r.factors().size(), 2u);  // nothing could be listed: the table keeps its size
}

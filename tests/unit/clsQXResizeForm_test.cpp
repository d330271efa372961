// Proportional resizing: factors from the farthest edges past the form,
// truncated to two decimals; scaled values rounded half to even; which
// controls are moved, which are passed over, and that nothing is raised.
#include <gtest/gtest.h>

#include <vector>

#include "form_support.h"
#include "test_support.h"
#include "ui/clsQXResizeForm.h"

using qx::Variant;
using qxtest::control;
using qxtest::num;

TEST(ResizeFactor, TruncatedToTwoDecimalsAndRoundedHalfToEven) {
    EXPECT_EQ(qx::ui::resizeFactor(10000, 12000), 0.83f);  // 83.33
    EXPECT_EQ(qx::ui::resizeFactor(2000, 3000), 0.66f);    // 66.67 is truncated, not rounded
    EXPECT_EQ(qx::ui::resizeFactor(5700, 10000), 0.56f);   // 0.57 x 100 falls just short of 57 in doubles
    EXPECT_EQ(qx::ui::resizeFactor(10000, 0.5), 1.0f);     // no edge past the form
    EXPECT_EQ(qx::ui::scaledLength(5, 0.5f), 2);
    EXPECT_EQ(qx::ui::scaledLength(7, 0.5f), 4);
    EXPECT_EQ(qx::ui::scaledLength(-5, 0.5f), -2);
    EXPECT_EQ(qx::ui::scaledLength(101, 0.83f), 84);
    EXPECT_RAISES(qx::err::Overflow, qx::ui::scaledLength(5e9, 1.0f));
}

TEST(ResizeForm, FactorsComeFromTheFarthestEdgesPastTheForm) {
    auto inside = control(100, 100, 2000, 1000);
    auto wide = control(9000, 0, 3000, 500);       // right edge 12000 on a form 10000 wide
    auto low = control(8000, 7000, 1000, 2000);    // bottom 9000 on a form 8000 high
    auto line = qxtest::lineControl();             // no position: no part in the measuring
    auto frm = qxtest::form(u"frmBig", {inside, wide, line, low}, 10000, 8000);
    qx::clsQXResizeForm r;
    r.InitResizeArray(frm);
    ASSERT_EQ(r.factors().size(), 4u);
    for (const auto& f : r.factors()) {
        EXPECT_EQ(f.Width, 0.83f);
        EXPECT_EQ(f.Left, 0.83f);
        EXPECT_EQ(f.Height, 0.88f);  // 8000 / 9000
        EXPECT_EQ(f.Top, 0.88f);
    }
    r.ResizeControls(frm);
    EXPECT_EQ(num(wide, u"Left"), 7470);
    EXPECT_EQ(num(wide, u"Width"), 2490);
    EXPECT_EQ(num(low, u"Top"), 6160);
    EXPECT_EQ(num(low, u"Height"), 1760);

    // Everything within the form (touching its edges is not past them): factors 1, nothing moves.
    auto edge = control(6999, 4001, 3001, 3999);
    auto fits = qxtest::form(u"frmFits", {edge}, 10000, 8000);
    r.InitResizeArray(fits);
    r.ResizeControls(fits);
    EXPECT_EQ(r.factors().size(), 1u);
    EXPECT_EQ(num(edge, u"Left"), 6999);
    EXPECT_EQ(num(edge, u"Top"), 4001);
}

TEST(ResizeForm, NoResizeControlsAndFailingControlsArePassedOver) {
    auto marked = control(1000, 1000, 1000, 1000);
    marked->set(u"Tag", u"noresize");
    auto stubborn = control(2000, 2000, 1000, 1000);
    stubborn->method(u"Move", [](const std::vector<Variant>&) -> Variant { qx::raise(5); });
    auto noTag = qx::MemoryObject::create(u"Shape");  // cannot be marked, so it is moved
    std::vector<Variant> moved;
    noTag->prop(u"Left", 20000.0).prop(u"Top", 0.0).prop(u"Width", 0.0).prop(u"Height", 0.0);
    noTag->method(u"Move", [&](const std::vector<Variant>& a) {
        moved = a;
        return Variant();
    });
    auto plain = control(4000, 4000, 2000, 2000);
    auto frm = qxtest::form(u"frmMixed", {marked, stubborn, noTag, plain}, 10000, 8000);
    frm->set(u"ScaleMode", std::int16_t{3});

    qx::clsQXResizeForm r;
    r.ResizeControls(frm);  // before measuring: nothing
    EXPECT_EQ(num(plain, u"Left"), 4000);
    r.InitResizeArray(frm);  // farthest right 20000: 0.5 across, 1 down
    frm->set(u"ScaleMode", std::int16_t{1});
    r.ResizeControls(frm);
    EXPECT_EQ(frm->get(u"ScaleMode").toInt16(), 3);
    EXPECT_EQ(num(marked, u"Left"), 1000);
    EXPECT_EQ(num(stubborn, u"Left"), 2000);
    ASSERT_EQ(moved.size(), 4u);
    EXPECT_EQ(moved[0].toInt32(), 10000);
    EXPECT_EQ(num(plain, u"Left"), 2000);
    r.ResizeControls(frm);  // each call scales again
    EXPECT_EQ(num(plain, u"Left"), 1000);
    EXPECT_EQ(num(plain, u"Top"), 4000);

    // Fewer controls than measured, no Controls, no form: no harm, nothing raised.
    EXPECT_NO_THROW(r.ResizeControls(qxtest::form(u"frmMixed", {plain})));
    EXPECT_EQ(num(plain, u"Left"), 500);
    EXPECT_NO_THROW(r.ResizeControls(qx::MemoryObject::create(u"Label")));
    EXPECT_NO_THROW(r.InitResizeArray(nullptr));
    EXPECT_EQ(r.factors().size(), 4u);  // nothing could be listed: the table keeps its size
}

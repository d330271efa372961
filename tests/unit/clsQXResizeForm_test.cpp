// Proportional resizing: the factors, which controls are moved or passed over, nothing raised.
#include <gtest/gtest.h>

#include <vector>

#include "core/error.h"
#include "form_support.h"
#include "ui/clsQXResizeForm.h"

using qxtest::control;
using qxtest::num;

TEST(ResizeFactor, TruncatedToTwoDecimalsAndRoundedHalfToEven) {
    EXPECT_EQ(qx::ui::resizeFactor(5700, 10000), 0.56f);  // 0.57 x 100 falls just short of 57 in doubles
    EXPECT_EQ(qx::ui::resizeFactor(10000, 0.5), 1.0f);    // no edge past the form
    EXPECT_EQ(qx::ui::scaledLength(5, 0.5f), 2);
    EXPECT_EQ(qx::ui::scaledLength(7, 0.5f), 4);
}

TEST(ResizeForm, FactorsComeFromTheFarthestEdgesPastTheFormAndApplyToEveryControl) {
    auto marked = control(100, 100, 2000, 1000);
    marked->set(u"Tag", u"noresize");
    auto wide = control(9000, 0, 3000, 500);     // right edge 12000 on a form 10000 wide: 0.83 across
    auto low = control(8000, 7000, 1000, 2000);  // bottom 9000 on a form 8000 high: 0.88 down
    auto stubborn = control(2000, 2000, 1000, 1000);
    stubborn->method(u"Move", [](const std::vector<qx::Variant>&) -> qx::Variant { qx::raise(5); });
    auto shape = qx::MemoryObject::create(u"Shape");  // no Tag: cannot be marked, so it is moved
    shape->prop(u"Left", 0.0).prop(u"Top", 0.0).prop(u"Width", 100.0).prop(u"Height", 100.0);
    auto line = qx::MemoryObject::create(u"Line");  // no position: no part in the measuring
    auto frm = qxtest::form(u"frm", {marked, wide, stubborn, line, shape, low}, 10000, 8000);
    std::vector<qx::Variant> moved;
    shape->method(u"Move", [&](const std::vector<qx::Variant>& a) {
        moved = a;
        return qx::Variant();
    });
    frm->set(u"ScaleMode", std::int16_t{3});

    qx::clsQXResizeForm r;
    r.InitResizeArray(frm);
    frm->set(u"ScaleMode", std::int16_t{1});
    r.ResizeControls(frm);
    EXPECT_EQ(frm->get(u"ScaleMode").toInt16(), 3);
    EXPECT_EQ(num(marked, u"Left"), 100);
    EXPECT_EQ(std::vector<double>({num(wide, u"Left"), num(wide, u"Width"), num(low, u"Top"), num(low, u"Height")}),
              std::vector<double>({7470, 2490, 6160, 1760}));
    EXPECT_EQ(moved.size() == 4 ? moved[2].toInt32() : -1, 83);
    r.ResizeControls(frm);  // each call scales again
    EXPECT_EQ(num(wide, u"Left"), 6200);  // 7470 * 0.83 = 6200.1

    // Fewer controls than measured, no Controls, no form: no harm, nothing raised.
    r.ResizeControls(qxtest::form(u"frm", {wide}));
    EXPECT_EQ(num(wide, u"Left"), 5146);
    EXPECT_NO_THROW(r.ResizeControls(qx::MemoryObject::create(u"Label")));
    EXPECT_NO_THROW(r.InitResizeArray(nullptr));
}

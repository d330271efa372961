// The message box's decisions: the buttons of a style, the focused button,
// the layout in twips, the result a button's tag gives, the alignment check.
#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "ui/msgbox_form.h"

using namespace qx::ui;

namespace {
std::u16string describe(std::int32_t style) {
    std::u16string out;
    for (const auto& b : msgBoxButtons(style)) out += std::u16string(b.caption) + char16_t(u'0' + b.result) + u' ';
    return out;
}
}  // namespace

TEST(MsgBoxForm, ButtonSetsFollowTheLowThreeBitsOnly) {
    EXPECT_EQ(describe(0), u"&Ok1 ");
    EXPECT_EQ(describe(1), u"&Ok1 &Cancel2 ");
    EXPECT_EQ(describe(2), u"&Abort3 &Retry4 &Ignore5 ");
    EXPECT_EQ(describe(3), u"&Yes6 &No7 &Cancel2 ");
    EXPECT_EQ(describe(4), u"&Yes6 &No7 ");
    EXPECT_EQ(describe(5), u"&Retry4 &Cancel2 ");
    EXPECT_EQ(describe(6), u"&Ok1 ");
    EXPECT_EQ(describe(7), u"&Ok1 ");
    // Icons, system modal and help bits change nothing.
    EXPECT_EQ(describe(4096), describe(0));
    EXPECT_EQ(describe(3 + 32 + 16384 + 512), describe(3));
}

TEST(MsgBoxForm, FocusFollowsTheDefaultButtonBitsWithinTheSet) {
    EXPECT_EQ(msgBoxFocus(3, 3), 0u);
    EXPECT_EQ(msgBoxFocus(3 + 256, 3), 1u);
    EXPECT_EQ(msgBoxFocus(3 + 512, 3), 2u);
    EXPECT_EQ(msgBoxFocus(4 + 768, 2), 0u);  // a fourth button does not exist
    EXPECT_EQ(msgBoxFocus(4 + 512, 2), 0u);
    EXPECT_EQ(msgBoxFocus(1 + 256 + 64, 2), 1u);
}

TEST(MsgBoxForm, CaptionAndTagsAndAlignment) {
    EXPECT_EQ(msgBoxDefaultCaption(u"MyApp", u"Version 2.1  Build 7"), u"MyApp Version 2.1  Build 7");
    EXPECT_EQ(msgBoxTagResult(u"6"), 6);
    EXPECT_EQ(msgBoxTagResult(u" 7 and more"), 7);
    EXPECT_EQ(msgBoxTagResult(u"2.5"), 2);
    EXPECT_EQ(msgBoxTagResult(u"-3.5"), -4);
    EXPECT_EQ(msgBoxTagResult(u"x1"), 0);
    for (std::int32_t a : {0, 1, 2}) EXPECT_NO_THROW(checkMsgBoxAlign(a));
    for (std::int32_t a : {-1, 3}) {
        try {
            checkMsgBoxAlign(a);
            ADD_FAILURE() << a;
        } catch (const qx::RuntimeError& e) {
            EXPECT_EQ(e.number(), 380);
        }
    }
}

TEST(MsgBoxForm, OneButtonIsCentredOnTheRow) {
    const MsgBoxLayout l = layoutMsgBox(1, 1215, 495, 900, 195, 450, 15360, 11520);
    EXPECT_EQ(l.labelWidth, 1615);  // (1 + 1) * 200 + 1215
    ASSERT_EQ(l.buttonLefts.size(), 1u);
    EXPECT_EQ(l.buttonLefts[0], 200);
    EXPECT_EQ(l.labelWidth - (l.buttonLefts[0] + l.buttonWidth), 200);
    EXPECT_EQ(l.formWidth, 1777);   // 1615 * 1.1
    EXPECT_EQ(l.formHeight, 1432);  // 1432.5, to even
    EXPECT_EQ(l.buttonTop, 477);    // (1432 - 450 - 495) * 0.98
    EXPECT_EQ(l.labelLeft, 100);
    EXPECT_EQ(l.labelTop, 100);
    EXPECT_EQ(l.labelHeight, 195);
    EXPECT_EQ(l.formLeft, 6792);  // 7680 - 888.5, to even
    EXPECT_EQ(l.formTop, 5044);
}

TEST(MsgBoxForm, AWideMessageSpreadsTheButtonsOverItsWidth) {
    const MsgBoxLayout l = layoutMsgBox(2, 1215, 495, 5000.4, 400, 0, 15360, 11520);
    EXPECT_EQ(l.labelWidth, 5000);
    ASSERT_EQ(l.buttonLefts.size(), 2u);
    EXPECT_EQ(l.buttonLefts[0], 1285);
    EXPECT_EQ(l.buttonLefts[1], 1285 + 1215 + 1285);
    EXPECT_EQ(l.buttonLefts[1] + 1215, 5000);  // the last button ends at the row's end
    EXPECT_EQ(l.formWidth, 5500);
}

TEST(MsgBoxForm, ThreeButtonsUnderAShortMessage) {
    const MsgBoxLayout l = layoutMsgBox(3, 1215, 495, 300, 200, 0, 15360, 11520);
    EXPECT_EQ(l.labelWidth, 4445);
    const std::vector<std::int32_t> lefts{267, 267 + 1482, 267 + 2 * 1482};
    EXPECT_EQ(l.buttonLefts, lefts);
    EXPECT_EQ(l.formWidth, 4890);  // 4889.5, to even
}

// The message box's decisions: buttons, focus, tags, alignment and the layout in twips.
#include <gtest/gtest.h>

#include "test_support.h"
#include "ui/msgbox_form.h"

using namespace qx::ui;

TEST(MsgBoxForm, ButtonsFocusTagsAndAlignment) {
    const char16_t* sets[] = {u"&Ok1 ", u"&Ok1 &Cancel2 ", u"&Abort3 &Retry4 &Ignore5 ", u"&Yes6 &No7 &Cancel2 ",
                              u"&Yes6 &No7 ", u"&Retry4 &Cancel2 ", u"&Ok1 ", u"&Ok1 "};
    for (std::int32_t s = 0; s < 8; ++s) {
        std::u16string shown;
        // Icons, help and the focus bits have no effect on the buttons.
        for (const auto& b : msgBoxButtons(s + 32 + 16384 + 512))
            shown += std::u16string(b.caption) + static_cast<char16_t>(u'0' + b.result) + u' ';
        EXPECT_EQ(shown, sets[s]) << s;
    }
    EXPECT_EQ(msgBoxFocus(3 + 512, 3), 2u);
    EXPECT_EQ(msgBoxFocus(4 + 512, 2), 0u);  // beyond the last button
    EXPECT_EQ(msgBoxTagResult(u" 7 and more"), 7);
    EXPECT_EQ(msgBoxTagResult(u"2.5"), 2);
    EXPECT_EQ(msgBoxTagResult(u"-3.5"), -4);
    EXPECT_NO_THROW(checkMsgBoxAlign(0));
    EXPECT_RAISES(380, checkMsgBoxAlign(-1));
    EXPECT_RAISES(380, checkMsgBoxAlign(3));
}

TEST(MsgBoxForm, LayoutInTwips) {
    // One button, centred on the row (1 + 1) * 200 + 1215; halves go to even.
    MsgBoxLayout l = layoutMsgBox(1, 1215, 495, 900, 195, 450, 15360, 11520);
    EXPECT_EQ(l.buttonLefts, std::vector<std::int32_t>{200});
    EXPECT_EQ(l.formWidth, 1777);   // 1615 * 1.1
    EXPECT_EQ(l.formHeight, 1432);  // 2.5 * 495 + 195 = 1432.5
    EXPECT_EQ(l.buttonTop, 477);    // (1432 - 450 - 495) * 0.98
    EXPECT_EQ(l.formLeft, 6792);    // 7680 - 888.5
    // A message wider than the row: the buttons spread over it, the last ending at its end.
    l = layoutMsgBox(2, 1215, 495, 5000.4, 400, 0, 15360, 11520);
    EXPECT_EQ(l.labelWidth, 5000);
    EXPECT_EQ(l.buttonLefts, (std::vector<std::int32_t>{1285, 3785}));
    // Three buttons under a short message: gaps of (4445 - 3645) / 3.
    l = layoutMsgBox(3, 1215, 495, 300, 200, 0, 15360, 11520);
    EXPECT_EQ(l.buttonLefts, (std::vector<std::int32_t>{267, 1749, 3231}));
}

// Without windows the runtime's message box answers; an answer no button gives counts as unpressed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/hostapp.h"
#include "core/library.h"
#include "core/msgbox.h"
#include "core/state.h"
#include "test_support.h"

TEST(MsgBoxPosix, TheHandlerAnswersAndAnUnofferedAnswerKeepsThePreviousResult) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        std::vector<qx::String> seen;
        std::int32_t answer = 6;  // no Yes on an OK box: closed without a press
        qx::setMessageBoxHandler([&](const qx::String& text, std::int32_t style, const qx::String& title) {
            seen.push_back(text + u"|" + title + u"|" + qx::fromNarrow(std::to_string(style)));
            return answer;
        });
        EXPECT_RAISES(91, lib.MyMsgBox(u"no host yet"));
        qx::state().HostApp = qx::host::makeApp(u"MyApp", u"", u"My App", u"Co", 2, 1, 7);
        EXPECT_RAISES(380, lib.MyMsgBox(u"x", 0, u"t", 3));
        EXPECT_EQ(lib.MyMsgBox(u"a"), 0);
        EXPECT_EQ(lib.MyMsgBox(u"Save?", 4 + 256, u"Question"), 6);
        answer = 0;
        EXPECT_EQ(lib.MyMsgBox(u"c", 3), 6);
        const qx::String caption = u"|MyApp " + qx::getVersion() + u"|";  // no title: the name and version
        EXPECT_EQ(seen, (std::vector<qx::String>{u"a" + caption + u"0", u"Save?|Question|260", u"c" + caption + u"3"}));
        qx::setMessageBoxHandler(nullptr);
    });
}

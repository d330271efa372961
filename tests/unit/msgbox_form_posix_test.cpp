// The message box without windows: the runtime's message box answers, and an
// answer that is none of the box's buttons counts as closing it unpressed.
#include <gtest/gtest.h>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/hostapp.h"
#include "core/library.h"
#include "core/msgbox.h"
#include "core/state.h"

namespace {

class MsgBoxPosix : public ::testing::Test {
protected:
    void SetUp() override {
        qx::state().HostApp = qx::host::makeApp(u"MyApp", u"", u"My App", u"Co", 2, 1, 7);
        qx::state().MsgBoxResult = 0;
        qx::setMessageBoxHandler([this](const qx::String& text, std::int32_t style, const qx::String& title) {
            seen.push_back(text + u"|" + title + u"|" + qx::fromNarrow(std::to_string(style)));
            return answer;
        });
    }
    void TearDown() override {
        qx::setMessageBoxHandler(nullptr);
        qx::state().HostApp = nullptr;
    }
    std::int32_t raised(std::int32_t align) {
        try {
            lib.MyMsgBox(u"x", 0, u"t", align);
        } catch (const qx::RuntimeError& e) {
            return e.number();
        }
        return 0;
    }
    std::vector<qx::String> seen;
    std::int32_t answer = 0;
    qx::clsQXGenRtns lib;
};

}  // namespace

TEST_F(MsgBoxPosix, TheHandlerAnswersAndAnUnofferedAnswerKeepsThePreviousResult) {
    answer = 6;  // no Yes on an OK box: closed without a press
    EXPECT_EQ(lib.MyMsgBox(u"a"), 0);
    EXPECT_EQ(lib.MyMsgBox(u"Save?", 4 + 256, u"Question"), 6);
    answer = 0;
    EXPECT_EQ(lib.MyMsgBox(u"c", 3), 6);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], u"a|MyApp " + qx::getVersion() + u"|0");  // no title: name and version
    EXPECT_EQ(seen[1], u"Save?|Question|260");
}

TEST_F(MsgBoxPosix, BadAlignmentOrNoHostRaisesBeforeAnythingIsShown) {
    EXPECT_EQ(raised(3), 380);
    qx::state().HostApp = nullptr;
    EXPECT_EQ(raised(2), 91);
    EXPECT_TRUE(seen.empty());
}

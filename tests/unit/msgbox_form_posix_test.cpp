// The message box without windows: the runtime's message box answers, and
// an answer that is none of the box's buttons counts as closing it.
#include <gtest/gtest.h>

#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/hostapp.h"
#include "core/library.h"
#include "core/msgbox.h"
#include "core/state.h"

namespace {

struct Seen {
    qx::String text, title;
    std::int32_t style = 0;
};

class MsgBoxPosix : public ::testing::Test {
protected:
    void SetUp() override {
        qx::state().HostApp = qx::host::makeApp(u"MyApp", u"", u"My App", u"Co", 2, 1, 7);
        qx::state().MsgBoxResult = 0;
        qx::setMessageBoxHandler([this](const qx::String& text, std::int32_t style, const qx::String& title) {
            seen.push_back({text, title, style});
            return answer;
        });
    }
    void TearDown() override {
        qx::setMessageBoxHandler(nullptr);
        qx::state().HostApp = nullptr;
    }
    std::vector<Seen> seen;
    std::int32_t answer = 0;
    qx::clsQXGenRtns lib;
};

}  // namespace

TEST_F(MsgBoxPosix, TheHandlerAnswersForTheBox) {
    answer = 7;
    EXPECT_EQ(lib.MyMsgBox(u"Save?", 4 + 256, u"Question"), 7);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, u"Save?");
    EXPECT_EQ(seen[0].title, u"Question");
    EXPECT_EQ(seen[0].style, 4 + 256);
    // No title: the executable's name and the version text.
    answer = 1;
    EXPECT_EQ(lib.MyMsgBox(u"Done"), 1);
    EXPECT_EQ(seen[1].title, u"MyApp " + qx::getVersion());
}

TEST_F(MsgBoxPosix, AnAnswerNoButtonGivesKeepsThePreviousResult) {
    answer = 6;  // not on an OK box: closed without a press
    EXPECT_EQ(lib.MyMsgBox(u"a", 0), 0);
    EXPECT_EQ(lib.MyMsgBox(u"b", 3), 6);
    answer = 0;
    EXPECT_EQ(lib.MyMsgBox(u"c", 3), 6);
}

TEST_F(MsgBoxPosix, BadAlignmentOrNoHostRaisesBeforeAnythingIsShown) {
    try {
        lib.MyMsgBox(u"x", 0, u"t", 3);
        ADD_FAILURE();
    } catch (const qx::RuntimeError& e) {
        EXPECT_EQ(e.number(), 380);
    }
    qx::state().HostApp = nullptr;
    try {
        lib.MyMsgBox(u"x", 0, u"t");
        ADD_FAILURE();
    } catch (const qx::RuntimeError& e) {
        EXPECT_EQ(e.number(), 91);
    }
    EXPECT_TRUE(seen.empty());
}

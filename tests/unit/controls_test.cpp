// The Enabled state of a form's controls: which controls are touched, what a
// restore gives back, under which key a state is kept and how long.
#include <gtest/gtest.h>

#include "core/clsQXGenRtns.h"
#include "form_support.h"
#include "test_support.h"

using qxtest::control;
using qxtest::enabled;
using qxtest::form;

TEST(ControlState, RestoreGivesBackTheStateBeforeTheFirstSaveOnce) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto a = control(0, 0, 10, 10, true);
        auto b = control(0, 0, 10, 10, false);
        auto c = control(0, 0, 10, 10, true);
        auto f = form(u"frmMain", {a, b, qx::MemoryObject::create(u"Line"), c});  // a line has no Enabled
        lib.DisableSaveControls(f);
        EXPECT_FALSE(enabled(a) || enabled(c));  // c reached past the line
        lib.DisableSaveControls(f);              // the key is taken: the first state stays
        lib.RestoreSavedControls(f);
        EXPECT_TRUE(enabled(a) && enabled(c) && !enabled(b));
        lib.DisableAllControls(f);
        lib.RestoreSavedControls(f);  // forgotten after the first restore
        EXPECT_FALSE(enabled(a) || enabled(c));
        lib.EnableAllControls(f);
        EXPECT_TRUE(enabled(b) && enabled(c));
        EXPECT_NO_THROW(lib.RestoreSavedControls(nullptr));

        lib.DisableSaveControls(f);
        qx::clsQXGenRtns other;  // a new instance: a new, empty collection
        other.RestoreSavedControls(f);
        EXPECT_FALSE(enabled(a));
    });
}

TEST(ControlState, FormsAreKeyedByNameAndIndexWithoutRegardToCase) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto a1 = control(0, 0, 1, 1, true);
        auto a2 = control(0, 0, 1, 1, false);
        auto f1 = form(u"frmChild", {a1});
        auto f2 = form(u"FRMCHILD", {a2});
        lib.DisableSaveControls(f1);
        lib.RestoreSavedControls(f2);  // no Index: the same key
        EXPECT_TRUE(enabled(a2));
        f1->prop(u"Index", std::int16_t{1});
        f2->prop(u"Index", std::int16_t{2});
        a1->set(u"Enabled", true);
        a2->set(u"Enabled", false);
        lib.DisableSaveControls(f2);
        lib.RestoreSavedControls(f1);  // a key of its own: nothing kept
        EXPECT_TRUE(enabled(a1));
    });
}

// The Enabled state of a form's controls: what a restore gives back, under which key and how long.
#include <gtest/gtest.h>

#include "core/clsQXGenRtns.h"
#include "form_support.h"
#include "test_support.h"

using qxtest::control;
using qxtest::enabled;
using qxtest::form;

TEST(ControlState, RestoreGivesBackTheStateBeforeTheFirstSaveOnceUnderTheFormsKey) {
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

        // Forms are keyed by Name and Index, without regard to case.
        auto a1 = control(0, 0, 1, 1, true);
        auto a2 = control(0, 0, 1, 1, false);
        auto f1 = form(u"frmChild", {a1});
        auto f2 = form(u"FRMCHILD", {a2});
        other.DisableSaveControls(f1);
        other.RestoreSavedControls(f2);  // no Index: the same key
        EXPECT_TRUE(enabled(a2));
        f1->prop(u"Index", std::int16_t{1});
        f2->prop(u"Index", std::int16_t{2});
        a1->set(u"Enabled", true);
        other.DisableSaveControls(f2);
        other.RestoreSavedControls(f1);  // a key of its own: nothing kept
        EXPECT_TRUE(enabled(a1));
    });
}

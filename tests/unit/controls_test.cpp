// The Enabled state of a form's controls: which controls are touched, what is
// passed over without an error, what a restore gives back, under which key a
// state is kept and how long.
#include <gtest/gtest.h>

#include <memory>

#include "core/clsQXGenRtns.h"
#include "core/state.h"
#include "form_support.h"
#include "test_support.h"
#include "ui/controls.h"

using qxtest::control;
using qxtest::enabled;
using qxtest::form;
using qxtest::runOnFreshThread;

TEST(ControlState, EnableAndDisableTouchEveryControlAndPassOverTheRest) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto a = control(0, 0, 10, 10, false);
        auto b = control(0, 0, 10, 10, false);
        auto f = form(u"frmMain", {a, qxtest::lineControl(), b});
        qxtest::controlsOf(f)->addItem(qx::Variant(u"not a control"));
        lib.EnableAllControls(f);
        EXPECT_TRUE(enabled(a) && enabled(b));  // b reached past the line without Enabled
        lib.DisableAllControls(f);
        EXPECT_FALSE(enabled(a) || enabled(b));
        // No form, or an object without Controls: nothing happens and nothing is raised.
        EXPECT_NO_THROW(lib.EnableAllControls(nullptr));
        EXPECT_NO_THROW(lib.DisableSaveControls(nullptr));
        EXPECT_NO_THROW(lib.RestoreSavedControls(qx::MemoryObject::create(u"Label")));
    });
}

TEST(ControlState, RestoreGivesBackTheStateBeforeTheFirstSaveOnce) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto a = control(0, 0, 10, 10, true);
        auto b = control(0, 0, 10, 10, false);
        auto c = control(0, 0, 10, 10, true);
        auto f = form(u"frmMain", {a, b, qxtest::lineControl(), c});
        lib.RestoreSavedControls(f);  // never saved: nothing changes
        EXPECT_TRUE(enabled(a) && !enabled(b));

        lib.DisableSaveControls(f);
        EXPECT_FALSE(enabled(a) || enabled(c));
        lib.DisableSaveControls(f);  // the key is taken: the first state stays
        lib.RestoreSavedControls(f);
        EXPECT_TRUE(enabled(a) && enabled(c));  // c counted past the control without Enabled
        EXPECT_FALSE(enabled(b));               // disabled before the save, disabled after

        lib.DisableAllControls(f);
        lib.RestoreSavedControls(f);  // forgotten after the first restore
        EXPECT_FALSE(enabled(a));
    });
}

TEST(ControlState, FormsAreKeyedByNameAndIndexWithoutRegardToCase) {
    runOnFreshThread([] {
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
        EXPECT_EQ(qx::ui::savedControlsKey(f1), u"frmChild1");
        a1->set(u"Enabled", true);
        a2->set(u"Enabled", false);
        lib.DisableSaveControls(f1);
        lib.DisableSaveControls(f2);
        lib.RestoreSavedControls(f2);
        EXPECT_FALSE(enabled(a2));  // its own state, not f1's
        lib.RestoreSavedControls(f1);
        EXPECT_TRUE(enabled(a1));
    });
}

TEST(ControlState, SavedStatesLiveAsLongAsTheLibraryObject) {
    runOnFreshThread([] {
        auto a = control(0, 0, 1, 1, true);
        auto f = form(u"frmMain", {a});
        auto lib = std::make_unique<qx::clsQXGenRtns>();
        lib->DisableSaveControls(f);
        qx::clsQXGenRtns other;  // a new instance: a new, empty collection
        other.RestoreSavedControls(f);
        EXPECT_FALSE(enabled(a));

        lib.reset();  // no collection at all: controls are still disabled, nothing is kept
        ASSERT_EQ(qx::state().SavedControls, nullptr);
        a->set(u"Enabled", true);
        other.DisableSaveControls(f);
        other.RestoreSavedControls(f);
        EXPECT_FALSE(enabled(a));
    });
}

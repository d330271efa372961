// Enabling, disabling, saving and restoring the Enabled state of a form's
// controls: which controls are touched, what is passed over without an
// error, what a restore gives back and under which key a state is kept.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "core/clsQXGenRtns.h"
#include "core/state.h"
#include "ui/controls.h"
#include "form_support.h"
#include "test_support.h"

using qx::Variant;
using qxtest::control;
using qxtest::enabled;
using qxtest::form;
using qxtest::runOnFreshThread;

TEST(ControlState, EnableAndDisableTouchEveryControlAndPassOverTheRest) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto a = control(0, 0, 10, 10, false);
        auto line = qxtest::lineControl();
        auto b = control(0, 0, 10, 10, true);
        auto f = form(u"frmMain", {a, line, b});
        qxtest::controlsOf(f)->addItem(Variant(u"not a control"));

        lib.EnableAllControls(f);
        EXPECT_TRUE(enabled(a));
        EXPECT_TRUE(enabled(b));  // reached past the control without Enabled and the text
        EXPECT_FALSE(line->has(u"Enabled"));

        lib.DisableAllControls(f);
        EXPECT_FALSE(enabled(a));
        EXPECT_FALSE(enabled(b));

        // No form, a form without Controls, an object that is no form: nothing happens and nothing is raised.
        EXPECT_NO_THROW(lib.EnableAllControls(nullptr));
        EXPECT_NO_THROW(lib.DisableAllControls(qx::MemoryObject::create(u"Label")));
        EXPECT_NO_THROW(lib.DisableSaveControls(nullptr));
        EXPECT_NO_THROW(lib.RestoreSavedControls(qx::MemoryObject::create(u"Label")));
    });
}

TEST(ControlState, RestoreGivesBackTheStateBeforeTheFirstSave) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto a = control(0, 0, 10, 10, true);
        auto b = control(0, 0, 10, 10, false);  // disabled before the save: stays disabled
        auto line = qxtest::lineControl();
        auto c = control(0, 0, 10, 10, true);
        auto f = form(u"frmMain", {a, b, line, c});

        lib.DisableSaveControls(f);
        EXPECT_FALSE(enabled(a));
        EXPECT_FALSE(enabled(c));
        // A second save finds the key taken and keeps the first state, not this all-disabled one.
        lib.DisableSaveControls(f);
        lib.RestoreSavedControls(f);
        EXPECT_TRUE(enabled(a));
        EXPECT_FALSE(enabled(b));
        EXPECT_TRUE(enabled(c));  // position counted past the control without Enabled

        // The state is forgotten: a second restore changes nothing.
        lib.DisableAllControls(f);
        lib.RestoreSavedControls(f);
        EXPECT_FALSE(enabled(a));
        EXPECT_FALSE(enabled(c));
    });
}

TEST(ControlState, RestoreWithoutASavedStateChangesNothing) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto a = control(0, 0, 10, 10, false);
        auto b = control(0, 0, 10, 10, true);
        auto f = form(u"frmNever", {a, b});
        lib.RestoreSavedControls(f);
        EXPECT_FALSE(enabled(a));
        EXPECT_TRUE(enabled(b));
    });
}

TEST(ControlState, FormsAreKeyedByNameAndIndex) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto a1 = control(0, 0, 1, 1, true);
        auto a2 = control(0, 0, 1, 1, false);
        auto f1 = form(u"frmChild", {a1});
        auto f2 = form(u"frmChild", {a2});

        // Same Name, no Index: one key. The second form restores what the first saved.
        lib.DisableSaveControls(f1);
        lib.RestoreSavedControls(f2);
        EXPECT_TRUE(enabled(a2));
        EXPECT_FALSE(enabled(a1));

        // Name followed by Index: forms 1 and 2 of a set keep separate states.
        f1->prop(u"Index", std::int16_t{1});
        f2->prop(u"Index", std::int16_t{2});
        EXPECT_EQ(qx::ui::savedControlsKey(f1), u"frmChild1");
        a1->set(u"Enabled", true);
        a2->set(u"Enabled", false);
        lib.DisableSaveControls(f1);
        lib.DisableSaveControls(f2);
        a1->set(u"Enabled", false);
        lib.RestoreSavedControls(f2);
        EXPECT_FALSE(enabled(a2));
        EXPECT_FALSE(enabled(a1));  // f1's state is still kept
        lib.RestoreSavedControls(f1);
        EXPECT_TRUE(enabled(a1));

        // Keys are compared without regard to case.
        a2->set(u"Enabled", true);
        lib.DisableSaveControls(f2);
        f2->prop(u"Name", u"FrmChild");
        lib.RestoreSavedControls(f2);
        EXPECT_TRUE(enabled(a2));
    });
}

TEST(ControlState, SavedStatesLiveAsLongAsTheLibraryObject) {
    runOnFreshThread([] {
        auto a = control(0, 0, 1, 1, true);
        auto f = form(u"frmMain", {a});
        auto lib = std::make_unique<qx::clsQXGenRtns>();
        lib->DisableSaveControls(f);
        // Creating another instance gives the thread a new, empty collection.
        qx::clsQXGenRtns other;
        other.RestoreSavedControls(f);
        EXPECT_FALSE(enabled(a));

        // Without any collection (an instance was destroyed) the controls are still disabled, nothing is kept.
        other.DisableSaveControls(f);
        lib.reset();
        EXPECT_EQ(qx::state().SavedControls, nullptr);
        a->set(u"Enabled", true);
        other.DisableSaveControls(f);
        EXPECT_FALSE(enabled(a));
        other.RestoreSavedControls(f);
        EXPECT_FALSE(enabled(a));
    });
}

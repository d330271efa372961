#pragma once
// The Enabled state of every control of a host form: enable or disable them
// all, or disable them while remembering which were enabled and give that
// state back later. The remembered states are the thread's SavedControls.
// None of these raises: a step that fails is skipped and the rest goes on.
#include <vector>

#include "core/error.h"
#include "core/object.h"

namespace qx::ui {

// The items of the form's Controls collection, in its order. Raises when the
// form has no such collection or it cannot be enumerated.
std::vector<Variant> controlsOf(const ObjectRef& form);

// Runs one step; a failure of the host object skips just that step.
template <typename F>
void skipFailure(F&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

// Sets Enabled on every control of the form; controls without it are passed over.
void setAllEnabled(const ObjectRef& form, bool enabled);

// The key a form's saved state is kept under: its Name followed directly by
// its Index when it has one.
String savedControlsKey(const ObjectRef& form);

// Remembers every control's Enabled under the form's key (an earlier state
// under the same key is kept), then disables every control.
void disableSaveControls(const ObjectRef& form);

// Gives every control the Enabled state saved for the form and forgets it.
// Without a saved state nothing changes.
void restoreSavedControls(const ObjectRef& form);

}  // namespace qx::ui

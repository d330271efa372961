#include "ui/controls.h"

#include <algorithm>

#include "core/error.h"
#include "core/state.h"

namespace qx::ui {

namespace {

ObjectRef need(const ObjectRef& obj) {
    if (!obj) raise(err::ObjectNotSet);
    return obj;
}

}  // namespace

std::vector<Variant> controlsOf(const ObjectRef& form) {
    const ObjectRef controls = need(need(form)->get(u"Controls").toObject());
    return controls->items();
}

void setAllEnabled(const ObjectRef& form, bool enabled) {
    std::vector<Variant> controls;
    skipFailure([&] { controls = controlsOf(form); });
    for (const Variant& c : controls) skipFailure([&] { need(c.toObject())->set(u"Enabled", Variant(enabled)); });
}

String savedControlsKey(const ObjectRef& form) {
    String key;
    skipFailure([&] { key = need(form)->get(u"Name").toString(); });
    // A form that is not one of a set of forms has no Index: its Name alone is the key.
    skipFailure([&] { key += need(form)->get(u"Index").toString(); });
    return key;
}

void disableSaveControls(const ObjectRef& form) {
    const String key = savedControlsKey(form);
    std::vector<Variant> controls;
    skipFailure([&] { controls = controlsOf(form); });

    // One element per control and one more, never used: a control added to
    // the form before the state is restored finds a false element there.
    std::vector<bool> saved(controls.size() + 1, false);
    for (std::size_t i = 0; i < controls.size(); ++i)
        skipFailure([&] { saved[i] = need(controls[i].toObject())->get(u"Enabled").toBool(); });

    // Without a collection (no library object on the thread) nothing is kept;
    // a state already kept under the key stays, so a second call cannot
    // overwrite the state before the first.
    if (const auto& collection = state().SavedControls) collection->emplace(key, std::move(saved));

    for (const Variant& c : controls) skipFailure([&] { need(c.toObject())->set(u"Enabled", Variant(false)); });
}

void restoreSavedControls(const ObjectRef& form) {
    const String key = savedControlsKey(form);
    const auto& collection = state().SavedControls;
    if (!collection) return;
    const auto found = collection->find(key);
    if (found == collection->end()) return;
    const std::vector<bool> saved = std::move(found->second);
    collection->erase(found);

    std::vector<Variant> controls;
    skipFailure([&] { controls = controlsOf(form); });
    // Controls beyond the saved ones (added since) are left as they are.
    const std::size_t n = std::min(controls.size(), saved.size());
    for (std::size_t i = 0; i < n; ++i)
        skipFailure([&] { need(controls[i].toObject())->set(u"Enabled", Variant(static_cast<bool>(saved[i]))); });
}

}  // namespace qx::ui

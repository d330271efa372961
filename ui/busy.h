#pragma once
// The busy (hourglass) pointer, on a form or on the whole screen.
#include "core/object.h"

namespace qx::ui {

constexpr std::int16_t kHourglass = 11;
constexpr std::int16_t kDefaultPointer = 0;

// Sets `form`'s MousePointer, or the screen's when there is no form, then lets
// pending window messages run so that the pointer changes at once. A form
// without the property is passed over.
void setBusyPointer(const ObjectRef& form, bool busy);

}  // namespace qx::ui

#include "ui/busy.h"

#include "core/error.h"
#include "core/screen.h"

namespace qx::ui {

void setBusyPointer(const ObjectRef& form, bool busy) {
    const std::int16_t pointer = busy ? kHourglass : kDefaultPointer;
    try {
        if (form) form->set(u"MousePointer", Variant(pointer));
        else screen().setMousePointer(pointer);
    } catch (const RuntimeError&) {
        // every failure is skipped
    }
    doEvents();
}

}  // namespace qx::ui

#pragma once
// Colour skins for a host form and its controls. Which controls are touched
// is decided by their type names, compared exactly; every failing step (a
// property a control lacks, an object that cannot be enumerated) is skipped
// and the routine goes on with the next step or control.
#include <cstdint>

#include "core/object.h"

namespace qx::ui {

// The value of an optional colour that was not given.
constexpr std::int32_t kColourNotGiven = -999;

// Applies a whole skin and stores it as the library's own dialog's skin.
void skinIt(const ObjectRef& form, std::int32_t buttonTabColour, std::int32_t buttonTabTextColour,
            std::int32_t buttonTabColourGradient, std::int32_t backGroundColour, std::int32_t backColourToGradient,
            std::int32_t rtfColour, std::int32_t direction);

void showButtonTabColour(const ObjectRef& container, std::int32_t colour);
void showButtonTabTextColour(const ObjectRef& container, std::int32_t colour);
void showFormColour(const ObjectRef& form, std::int32_t colour);
void showDisplayColour(const ObjectRef& form, std::int32_t colour);
void setListViewBackColour(const ObjectRef& container, std::int32_t colour);
void setTreeViewBackColour(const ObjectRef& container, std::int32_t colour);

}  // namespace qx::ui

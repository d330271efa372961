#pragma once
// Centring a form or control on the screen, on a control or on a form. The
// positions are worked out in floating point and handed to the object's Top
// and Left unrounded. A member the objects lack raises its error to the
// caller: these routines trap nothing.
#include "core/object.h"

namespace qx::ui {

// The near edge that centres a length inside a span beginning at `start`.
double centredStart(double start, double span, double length);

void centerObject(const ObjectRef& obj);
// Centres `obj` on `target` (a control or a form) by its Top, Left, Width and Height.
void centerOn(const ObjectRef& obj, const ObjectRef& target);

}  // namespace qx::ui

#pragma once
// Proportional resizing of one form's controls.
#include "core/object.h"

namespace qx {

class clsQXResizeForm {
public:
    void InitResizeArray(const ObjectRef& frm);
    void ResizeControls(const ObjectRef& frm);
};

}  // namespace qx

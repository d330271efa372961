#include "ui/clsQXResizeForm.h"

#include "core/error.h"

namespace qx {

void clsQXResizeForm::InitResizeArray(const ObjectRef&) { notAvailable("clsQXResizeForm", "InitResizeArray"); }
void clsQXResizeForm::ResizeControls(const ObjectRef&) { notAvailable("clsQXResizeForm", "ResizeControls"); }

}  // namespace qx

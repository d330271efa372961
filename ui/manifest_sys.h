#pragma once
// The system side of the manifests: the common controls.
namespace qx::ui::sys {

// Registers the common controls' extended classes (ComboBoxEx) with the
// system; false where that failed or the system has no such controls.
bool initCommonControls();

}  // namespace qx::ui::sys

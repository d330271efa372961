// POSIX: there is no common controls library to set up; the manifest file is
// still written, and the hosts' own toolkits draw their controls themselves.
#include "ui/manifest_sys.h"

namespace qx::ui::sys {

bool initCommonControls() { return false; }

}  // namespace qx::ui::sys

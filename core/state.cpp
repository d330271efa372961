#include "core/state.h"

#include "sysinfo/clsSpecialFolders.h"

namespace qx {

LibraryState& state() {
    thread_local LibraryState s;
    return s;
}

}  // namespace qx

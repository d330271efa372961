#pragma once
// The system side of osinfo.cpp (osinfo_win.cpp, osinfo_posix.cpp).
#include <string>

#include "sysinfo/osinfo.h"

namespace qx::sysinfo::sys {

// The details of the running system's version text.
OSVersionDetails osVersionDetails();
// The logged-on user's name in the narrow encoding, or "" when the system does not give one.
std::string userName();
// Whether the current identity holds the administrators' group.
bool currentUserIsAdmin();

}  // namespace qx::sysinfo::sys

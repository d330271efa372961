#pragma once
// The system side of the network queries, one implementation per platform
// (network_drives_win.cpp: the multiple-provider network library;
// network_drives_posix.cpp: the mount table).
#include <cstdint>
#include <vector>

#include "core/qxstring.h"
#include "sysinfo/network_drives.h"

namespace qx::sysinfo::sys {

// Asks for the connection of a local name into a buffer of 255 spaces and
// gives that buffer back as the system left it; the system's status (0 on success).
std::int32_t getConnection(const String& localName, String& buffer);

// The connections of the current user as one enumeration call returns them;
// false when the enumeration cannot be opened or fails.
bool enumerateConnections(std::vector<NetworkConnection>& out);

}  // namespace qx::sysinfo::sys

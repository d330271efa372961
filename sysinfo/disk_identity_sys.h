#pragma once
// The system side of disk identity, one implementation per platform
// (disk_identity_win.cpp: the SMART driver and WMI; disk_identity_posix.cpp:
// the kernel's block devices and the udev database).
#include <cstdint>
#include <vector>

#include "core/qxstring.h"
#include "sysinfo/disk_identity.h"

namespace qx::sysinfo::sys {

// The platform code of the running system ("WNT", "W98", ...).
String diskPlatformCode();

enum class IdentifyDevice { PhysicalDrive, Smartvsd };

// Asks the disk for its identify block. False when the device cannot be
// opened; a device that opens but does not answer leaves the block zeroed.
bool readIdentifyBlock(IdentifyDevice device, std::uint8_t drive, IdentifyBlock& block);

// The serial numbers of the machine's physical media as the system lists
// them, untrimmed ("" for one without); empty when the list cannot be had.
std::vector<String> mediaSerialNumbers();

}  // namespace qx::sysinfo::sys

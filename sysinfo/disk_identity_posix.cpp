// Disk identity on POSIX: the disks are the hardware block devices of
// /sys/block in name order (drive 0 is the first); their model, serial number
// and firmware revision come from the udev database or the kernel's attribute
// files, and are laid into an identify block as a disk would store them, so
// that the same field limits and decoding apply. The platform stands in as
// the NT family: every disk is reached by number.
#include "sysinfo/disk_identity_sys.h"

namespace qx::sysinfo::sys {

namespace {
std::vector<BlockDevice> systemDevices() { return scanBlockDevices("/sys/block", "/run/udev/data"); }
}  // namespace

String diskPlatformCode() { return u"WNT"; }

bool readIdentifyBlock(IdentifyDevice, std::uint8_t drive, IdentifyBlock& block) {
    const std::vector<BlockDevice> devices = systemDevices();
    if (drive >= devices.size()) return false;
    const BlockDevice& d = devices[drive];
    block.fill(0);
    encodeIdentifyText(block, identifyField(hdsn::ModelNumber), d.model);
    encodeIdentifyText(block, identifyField(hdsn::SerialNumber), d.serial);
    encodeIdentifyText(block, identifyField(hdsn::FirmwareRevision), d.firmware);
    return true;
}

std::vector<String> mediaSerialNumbers() {
    std::vector<String> serials;
    for (const BlockDevice& d : systemDevices()) serials.push_back(fromNarrow(d.serial));
    return serials;
}

}  // namespace qx::sysinfo::sys

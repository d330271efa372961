#include "sysinfo/HDSN.h"

#include <utility>

#include "sysinfo/disk_identity.h"
#include "sysinfo/disk_identity_sys.h"

namespace qx {

HDSN::HDSN() : platform_(sysinfo::sys::diskPlatformCode()) {}

HDSN::HDSN(String platform) : platform_(std::move(platform)) {}

String HDSN::Copyright() { return u"HDSN disk identity, QX General Routines. Copyright (c) QX."; }

String HDSN::GetModelNumber() { return ReadDriveIdentity(sysinfo::hdsn::ModelNumber); }
String HDSN::GetSerialNumber() { return ReadDriveIdentity(sysinfo::hdsn::SerialNumber); }
String HDSN::GetFirmwareRevision() { return ReadDriveIdentity(sysinfo::hdsn::FirmwareRevision); }

std::uint8_t HDSN::CurrentDrive() { return drive_; }

void HDSN::CurrentDrive(std::uint8_t vData) {
    if (vData > 3) sysinfo::raiseHdsn(sysinfo::hdsn::IllegalDriveNumber);
    drive_ = vData;
}

String HDSN::Platform() { return platform_; }

String HDSN::ReadDriveIdentity(std::int32_t dataType) {
    const sysinfo::IdentifyField field = sysinfo::identifyField(dataType);
    if (!sysinfo::readablePlatform(platform_)) sysinfo::raiseHdsn(sysinfo::hdsn::IllegalPlatform);
    const auto device =
        platform_ == u"WNT" ? sysinfo::sys::IdentifyDevice::PhysicalDrive : sysinfo::sys::IdentifyDevice::Smartvsd;
    sysinfo::IdentifyBlock block{};
    if (!sysinfo::sys::readIdentifyBlock(device, drive_, block)) sysinfo::raiseHdsn(sysinfo::hdsn::CreateFileFailed);
    return sysinfo::identifyText(block, field);
}

}  // namespace qx

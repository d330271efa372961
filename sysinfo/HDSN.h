#pragma once
// Identity of one IDE/ATA disk: model, serial number and firmware revision.
#include <cstdint>

#include "core/qxstring.h"

namespace qx {

class HDSN {
public:
    // Fixes the platform code from the running system.
    HDSN();
    // With a given platform code (tests, and hosts that know better).
    explicit HDSN(String platform);

    String Copyright();
    String GetModelNumber();
    String GetSerialNumber();
    String GetFirmwareRevision();
    std::uint8_t CurrentDrive();
    // Raises 10000 above 3, keeping the previous value.
    void CurrentDrive(std::uint8_t vData);
    String Platform();

    // The text of data type 0 (model), 1 (serial) or 2 (firmware) of the
    // current drive: 10001 for another type, 10002 on a platform without a
    // way to the disk, 10003 when the disk cannot be opened.
    String ReadDriveIdentity(std::int32_t dataType);

private:
    std::uint8_t drive_ = 0;
    String platform_;
};

}  // namespace qx

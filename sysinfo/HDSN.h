#pragma once
// Identity of one IDE/ATA disk: model, serial number and firmware revision.
#include <cstdint>

#include "core/qxstring.h"

namespace qx {

class HDSN {
public:
    String Copyright();
    String GetModelNumber();
    String GetSerialNumber();
    String GetFirmwareRevision();
    std::uint8_t CurrentDrive();
    void CurrentDrive(std::uint8_t vData);
    String Platform();
};

}  // namespace qx

#include "sysinfo/HDSN.h"

#include "core/error.h"

namespace qx {

String HDSN::Copyright() { notAvailable("HDSN", "Copyright"); }
String HDSN::GetModelNumber() { notAvailable("HDSN", "GetModelNumber"); }
String HDSN::GetSerialNumber() { notAvailable("HDSN", "GetSerialNumber"); }
String HDSN::GetFirmwareRevision() { notAvailable("HDSN", "GetFirmwareRevision"); }
std::uint8_t HDSN::CurrentDrive() { notAvailable("HDSN", "CurrentDrive"); }
void HDSN::CurrentDrive(std::uint8_t) { notAvailable("HDSN", "CurrentDrive"); }
String HDSN::Platform() { notAvailable("HDSN", "Platform"); }

}  // namespace qx

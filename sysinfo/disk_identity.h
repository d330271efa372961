#pragma once
// Disk identity: the ATA IDENTIFY DEVICE request and the decoding of the
// identify block for the HDSN class, the platform codes, the serial numbers
// of GetHDSerialNumbers, and the block-device listing the POSIX port reads
// the same identity from (the kernel's /sys/block and the udev database).
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/qxstring.h"

namespace qx::sysinfo {

namespace hdsn {
constexpr std::int32_t IllegalDriveNumber = 10000;
constexpr std::int32_t IllegalDataType = 10001;
constexpr std::int32_t IllegalPlatform = 10002;
constexpr std::int32_t CreateFileFailed = 10003;

constexpr std::int32_t ModelNumber = 0;
constexpr std::int32_t SerialNumber = 1;
constexpr std::int32_t FirmwareRevision = 2;

constexpr std::size_t RequestSize = 32;   // SENDCMDINPARAMS as sent
constexpr std::size_t AnswerSize = 528;   // SENDCMDOUTPARAMS
constexpr std::size_t BlockOffset = 16;   // the identify block inside the answer
constexpr std::size_t BlockSize = 512;
constexpr std::uint32_t SmartReceiveDriveData = 0x7C088;
}  // namespace hdsn

using IdentifyBlock = std::array<std::uint8_t, hdsn::BlockSize>;

// Where a data type's text lies in the identify block.
struct IdentifyField {
    std::size_t first;   // first byte
    std::size_t length;  // bytes, and so characters at most
};

// The field of a data type (0 model, 1 serial, 2 firmware); raises 10001 for any other.
IdentifyField identifyField(std::int32_t dataType);

// The request for ATA IDENTIFY DEVICE on drive 0 to 3 (master 0xA0 for even
// drives, slave 0xB0 for odd ones).
std::array<std::uint8_t, hdsn::RequestSize> identifyRequest(std::uint8_t drive);

// The text of a field: the bytes of each 16-bit word taken odd byte first,
// up to the first zero byte, as system text, without surrounding spaces.
String identifyText(const IdentifyBlock& block, const IdentifyField& field);

// Writes text into a field the way a disk stores it (padded with spaces,
// the two bytes of each word swapped); longer text is cut at the field's length.
void encodeIdentifyText(IdentifyBlock& block, const IdentifyField& field, std::string_view text);

// The platform code of an operating-system version: "32S", "W95", "W98",
// "WNT", or "Unk" for an unknown platform identifier.
String platformCode(std::uint32_t platformId, std::uint32_t minorVersion);

// Whether a read may go ahead on a platform ("WNT", "W95", "W98").
bool readablePlatform(const String& platform);

// The error texts of 10000 to 10003.
String hdsnErrorText(std::int32_t number);
[[noreturn]] void raiseHdsn(std::int32_t number);

// The serial numbers as GetHDSerialNumbers returns them: each without
// surrounding spaces, an absent one as "".
std::vector<String> trimmedSerials(const std::vector<String>& serials);

// GetHDSerialNumbers: the trimmed serial numbers of the system's physical
// media, indexed from 0; empty when they cannot be had. Never raises.
std::vector<String> getHDSerialNumbers();

// ---- block devices as the kernel and udev describe them ----

struct BlockDevice {
    std::string name;  // "sda", "nvme0n1", "sr0"
    std::string model;
    std::string serial;
    std::string firmware;
};

// The properties ("E:KEY=value" lines) of a udev database record.
std::map<std::string, std::string> parseUdevProperties(std::string_view record);

// A udev "_ENC" value: "\xNN" escapes replaced by their bytes.
std::string decodeUdevEscapes(std::string_view value);

// Orders device names by their letters and then their numbers as numbers
// ("sda" < "sdb" < "sr0", "nvme2n1" < "nvme10n1").
bool deviceNameLess(const std::string& a, const std::string& b);

// The devices of a /sys/block folder that stand for hardware (those with a
// "device" link: not loop, RAM, mapper or RAID devices), in name order, with
// model, serial number and firmware revision from the udev record of each
// (udevData/b<major>:<minor>), else from the kernel's attribute files.
std::vector<BlockDevice> scanBlockDevices(const std::filesystem::path& sysBlock,
                                          const std::filesystem::path& udevData);

}  // namespace qx::sysinfo

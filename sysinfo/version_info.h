#pragma once
// GetDisplayVerInfo: the fixed file information of a file's version resource
// turned into the display texts of a clsVersionInfo record.
#include <cstddef>
#include <cstdint>

#include "core/qxstring.h"
#include "sysinfo/clsVersionInfo.h"

namespace qx::sysinfo {

// The 52-byte fixed file information block (VS_FIXEDFILEINFO), little-endian.
struct FixedFileInfo {
    std::uint32_t signature = 0;
    std::uint32_t strucVersion = 0;
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    std::uint32_t flagsMask = 0;
    std::uint32_t flags = 0;
    std::uint32_t fileOS = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    std::uint32_t fileDateMS = 0;
    std::uint32_t fileDateLS = 0;

    friend bool operator==(const FixedFileInfo& a, const FixedFileInfo& b);
};

constexpr std::size_t FixedFileInfoSize = 52;

// The block from its 52 bytes.
FixedFileInfo decodeFixedFileInfo(const std::uint8_t* bytes);

// "high.low" of a 32-bit word's two halves, each an unsigned decimal number.
String versionPair(std::uint32_t word);
// The four numbers of a version's two words joined by ".".
String dottedVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant);
// The flag words ("Debug ", "PreRel ", ...) of every set bit, in bit order.
String fileFlagsText(std::uint32_t flags);
String fileOSName(std::uint32_t fileOS);
String fileTypeName(std::uint32_t fileType);
// The subtype as decimal digits, "" for 0; for drivers (file type 3) the names of subtypes 0 to 10.
String fileSubtypeText(std::uint32_t fileType, std::uint32_t subtype);

// Writes StrucVer, FileVer, ProdVer, FileFlags, FileOS, FileType and
// FileSubType of the record from the block; the other fields are left alone.
void applyFixedFileInfo(const FixedFileInfo& info, clsVersionInfo& V);

// GetDisplayVerInfo: reads the version resource of V.FullFileName and fills
// the record's texts; a file without one (missing, unreadable, not a program,
// no resource) leaves the record exactly as it was.
void getDisplayVerInfo(clsVersionInfo& V);

}  // namespace qx::sysinfo

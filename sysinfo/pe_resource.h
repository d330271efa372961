#pragma once
// Reading the version resource of a PE image (a Windows program or DLL,
// 32- or 64-bit) without the system's loader: the headers, the section table
// and the three levels of the resource directory are walked through a byte
// source that reports reads past its end, and every offset and length taken
// from the file is checked before it is used.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "sysinfo/version_info.h"

namespace qx::sysinfo {

// Reads `length` bytes at `offset` into `out`; false when they are not all there.
using ByteSource = std::function<bool(std::uint64_t offset, std::size_t length, std::uint8_t* out)>;

// A byte source over memory that stays alive while the source is used.
ByteSource memorySource(const std::uint8_t* data, std::size_t size);

struct PeVersionResource {
    std::uint64_t fileOffset = 0;     // where the VS_VERSIONINFO block starts in the file
    std::vector<std::uint8_t> block;  // the block, at most 65535 bytes (its length field is 16-bit)
};

// The first version resource (type 16, identifier 1, first language) of a PE
// image; false when the data is not a PE image or has no such resource.
bool findVersionResource(const ByteSource& source, PeVersionResource& out);

// Where the value of a version block's root ("\") lies inside the block:
// after the header and the key, aligned to 4 bytes. False when the block's
// own length, the key or a value of `minimumLength` bytes do not fit.
bool rootValueOffset(const std::uint8_t* block, std::size_t size, std::size_t minimumLength, std::size_t& offset);

// The fixed file information at the root of a version block; false when the
// block holds no 52-byte value there.
bool fixedInfoOfVersionBlock(const std::uint8_t* block, std::size_t size, FixedFileInfo& out);

// Both steps: the fixed file information of a PE image's version resource.
bool readFixedFileInfo(const ByteSource& source, FixedFileInfo& out);

}  // namespace qx::sysinfo

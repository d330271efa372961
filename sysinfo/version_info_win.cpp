// The version resource through the version library, ANSI forms: the size,
// the copy of the resource, and the root block located by VerQueryValueA.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "sysinfo/version_info_sys.h"

namespace qx::sysinfo::sys {

bool readFixedFileInfo(const String& path, FixedFileInfo& out) {
    const std::string name = toNarrow(path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(name.c_str(), &handle);
    if (size < 1) return false;
    std::vector<std::uint8_t> buffer(size);
    if (!GetFileVersionInfoA(name.c_str(), 0, size, buffer.data())) return false;
    void* root = nullptr;
    UINT length = 0;
    char rootName[] = "\\";
    if (!VerQueryValueA(buffer.data(), rootName, &root, &length) || !root || length < FixedFileInfoSize) return false;
    std::uint8_t bytes[FixedFileInfoSize];
    std::memcpy(bytes, root, FixedFileInfoSize);
    out = decodeFixedFileInfo(bytes);
    return true;
}

}  // namespace qx::sysinfo::sys

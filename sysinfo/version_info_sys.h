#pragma once
// The system side of GetDisplayVerInfo: the version library on Windows
// (version_info_win.cpp), the PE file read by our own parser elsewhere
// (version_info_posix.cpp).
#include "core/qxstring.h"
#include "sysinfo/version_info.h"

namespace qx::sysinfo::sys {

// The fixed file information of the file's version resource; false when the
// file has none, cannot be read, or the resource holds no 52-byte root value.
bool readFixedFileInfo(const String& path, FixedFileInfo& out);

}  // namespace qx::sysinfo::sys

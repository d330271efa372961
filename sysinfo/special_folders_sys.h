#pragma once
// The system side of the special folders, one implementation per platform
// (special_folders_win.cpp, special_folders_posix.cpp).
#include <cstddef>
#include <cstdint>

#include "core/qxstring.h"

namespace qx::sysinfo::sys {

// The path of a shell folder number, without a trailing separator; "" when
// the folder is unknown here or has no path in the file system.
String specialFolderPath(std::int32_t csidl);

// The size of the buffer the temporary path is read into, its NUL included.
constexpr std::size_t kTempPathChars = 100;

// The temporary folder, ending in the separator; "" when it cannot be given
// or does not fit in kTempPathChars.
String tempPath();

// Creates (or truncates) the file and closes it; raises the runtime's file
// error when the system refuses.
void createEmptyFile(const String& path);

}  // namespace qx::sysinfo::sys

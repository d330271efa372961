#pragma once
// The runtime error number of a failed file operation, from the system's
// code: an errno value (POSIX) or a Win32 error code (Windows). Both tables
// are portable, so every platform's tests check both.
#include <cstdint>

namespace qx {

// What the failed operation was doing. A file that is not found is error 53
// when it was opened to be read; when it was being created (for output or to
// append), only its folder can be missing, which is error 76.
enum class FileOp { Read, Create };

std::int32_t fileErrorFromErrno(int code, FileOp op);
std::int32_t fileErrorFromWin32(std::uint32_t code, FileOp op);

}  // namespace qx

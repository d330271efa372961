#pragma once
// The system side of the file access object, one implementation per platform
// (file_access_win.cpp, file_access_posix.cpp). A handle is the 32-bit value
// the object keeps; -1 is no file. Every call leaves the system's error code
// for lastError, as the Windows calls leave theirs.
#include <cstddef>
#include <cstdint>

#include "core/qxstring.h"
#include "core/types.h"

namespace qx::files::sys {

constexpr std::int32_t kNoHandle = -1;

// Read and write, sharing both with other handles; a missing file is created.
std::int32_t openReadWrite(const String& name);
// Read only, sharing reading only; the file must exist.
std::int32_t openReadOnly(const String& name);
bool closeFile(std::int32_t handle);
// The size in two unsigned halves; false when it cannot be obtained.
bool fileSize(std::int32_t handle, std::uint32_t& low, std::uint32_t& high);
// Moves `count` bytes by repeated calls of `step(done, left)`, each of which
// moves some of the `left` bytes after the first `done` and answers how many
// (0 or less: it failed or met the end). The count moved.
template <typename Step>
std::size_t transferAll(std::size_t count, Step step) {
    std::size_t total = 0;
    while (total < count) {
        const auto moved = step(total, count - total);
        if (moved <= 0) break;
        total += static_cast<std::size_t>(moved);
    }
    return total;
}

// Reads up to `count` bytes at the current position; the count read.
std::size_t readFile(std::int32_t handle, std::uint8_t* data, std::size_t count);
std::size_t writeFile(std::int32_t handle, const std::uint8_t* data, std::size_t count);
bool flushFile(std::int32_t handle);

enum class SeekFrom { Begin, Current };
// Moves the file position as the system's SetFilePointer does: with `high`
// the distance is high * 2^32 + (unsigned) low and *high receives the new
// position's high half; without it the distance is `low` alone, signed. The
// result is the new position's low half, or 0xFFFFFFFF on failure (with the
// error code set; a success that lands on 0xFFFFFFFF clears it).
std::uint32_t setFilePointer(std::int32_t handle, std::int32_t low, std::int32_t* high, SeekFrom from);

// The creation, last-access and last-write times; false on failure.
bool getFileTimes(std::int32_t handle, FileDateTimeInfo& times);
// Sets the three times; a time of 0 is left unchanged. False on failure.
bool setFileTimes(std::int32_t handle, const FileDateTimeInfo& times);

// The calling thread's last system error code.
std::uint32_t lastError();
// The system's message for an error code, as its message table holds it
// (possibly ending in CR LF); "" when it has none.
String systemMessage(std::uint32_t code);

}  // namespace qx::files::sys

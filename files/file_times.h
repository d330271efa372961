#pragma once
// A file's creation, last-access and last-write times by name, and the
// conversions between the FILETIME count (100-nanosecond intervals since
// 1601-01-01 UTC) and POSIX seconds and nanoseconds since 1970.
#include <cstdint>

#include "core/types.h"

namespace qx::files {

// GetFileDateTime: opens the file read-write (creating a missing one) and
// reads its times; all 0 when the open fails (the failure is logged).
FileDateTimeInfo getFileDateTime(const String& fileName);
// SetFileDateTime: sets the times through a read-write open; a time of 0 is
// left unchanged. A failure is only logged.
void setFileDateTime(const String& fileName, const FileDateTimeInfo& info);

// The 64-bit count of a FILETIME, its halves taken as unsigned.
std::uint64_t ticksOf(const FILETIME& t);
FILETIME fileTimeOf(std::uint64_t ticks);
// Seconds and nanoseconds since 1970 (negative before it) as a FILETIME;
// times before 1601 give 0.
FILETIME fileTimeFromUnix(std::int64_t seconds, std::int32_t nanoseconds);
void unixFromFileTime(const FILETIME& t, std::int64_t& seconds, std::int32_t& nanoseconds);

}  // namespace qx::files

#include "files/file_times.h"

#include "files/clsFileAccess.h"

namespace qx::files {

namespace {
// 100-nanosecond intervals from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochTicks = 116444736000000000LL;
constexpr std::int64_t kTicksPerSecond = 10000000LL;
}  // namespace

FileDateTimeInfo getFileDateTime(const String& fileName) {
    FileDateTimeInfo info;
    clsFileAccess file;
    file.OpenFile(fileName);
    FileDateTimeInfo read;
    if (file.ReturnFileTime(read) != 0) info = read;
    file.CloseFile();
    return info;
}

void setFileDateTime(const String& fileName, const FileDateTimeInfo& info) {
    clsFileAccess file;
    file.OpenFile(fileName);
    file.ChangeFileTime(info);
    file.CloseFile();
}

std::uint64_t ticksOf(const FILETIME& t) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(t.dwHighDateTime)) << 32) |
           static_cast<std::uint32_t>(t.dwLowDateTime);
}

FILETIME fileTimeOf(std::uint64_t ticks) {
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(ticks)),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(ticks >> 32))};
}

FILETIME fileTimeFromUnix(std::int64_t seconds, std::int32_t nanoseconds) {
    const std::int64_t ticks = seconds * kTicksPerSecond + nanoseconds / 100 + kEpochTicks;
    if (ticks < 0) return {};
    return fileTimeOf(static_cast<std::uint64_t>(ticks));
}

void unixFromFileTime(const FILETIME& t, std::int64_t& seconds, std::int32_t& nanoseconds) {
    const auto ticks = static_cast<std::int64_t>(ticksOf(t) & 0x7FFFFFFFFFFFFFFFULL) - kEpochTicks;
    std::int64_t s = ticks / kTicksPerSecond;
    std::int64_t rest = ticks % kTicksPerSecond;
    if (rest < 0) {
        rest += kTicksPerSecond;
        --s;
    }
    seconds = s;
    nanoseconds = static_cast<std::int32_t>(rest * 100);
}

}  // namespace qx::files

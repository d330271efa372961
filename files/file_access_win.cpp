// The file access object's calls on Windows: kernel32 file handles with the
// ANSI names of the system code page.
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>

#include "files/file_access_sys.h"
#include "files/path_logic.h"

namespace qx::files::sys {

namespace {

HANDLE toHandle(std::int32_t h) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(h)); }

// Kernel handles fit 32 bits (sign-extended) on every Windows.
std::int32_t fromHandle(HANDLE h) {
    return h == INVALID_HANDLE_VALUE ? kNoHandle : static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(h));
}

std::int32_t open(const String& name, DWORD access, DWORD share, DWORD disposition, DWORD attributes) {
    const std::optional<std::string> system = systemPathIfAny(name);
    if (!system) {
        SetLastError(ERROR_INVALID_NAME);
        return kNoHandle;
    }
    return fromHandle(CreateFileA(system->c_str(), access, share, nullptr, disposition, attributes, nullptr));
}

::FILETIME toSystem(const qx::FILETIME& t) {
    return {static_cast<DWORD>(t.dwLowDateTime), static_cast<DWORD>(t.dwHighDateTime)};
}
qx::FILETIME fromSystem(const ::FILETIME& t) {
    return {static_cast<std::int32_t>(t.dwLowDateTime), static_cast<std::int32_t>(t.dwHighDateTime)};
}

// ReadFile and WriteFile take 32-bit counts: a larger request goes in pieces.
DWORD chunkOf(std::size_t left) { return static_cast<DWORD>(left > 0x40000000u ? 0x40000000u : left); }

}  // namespace

std::int32_t openReadWrite(const String& name) {
    return open(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS,
                FILE_ATTRIBUTE_NORMAL);
}

std::int32_t openReadOnly(const String& name) {
    return open(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0xA7);
}

bool closeFile(std::int32_t handle) { return CloseHandle(toHandle(handle)) != 0; }

bool fileSize(std::int32_t handle, std::uint32_t& low, std::uint32_t& high) {
    DWORD hi = 0;
    const DWORD lo = GetFileSize(toHandle(handle), &hi);
    if (lo == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    low = lo;
    high = hi;
    return true;
}

std::size_t readFile(std::int32_t handle, std::uint8_t* data, std::size_t count) {
    return transferAll(count, [&](std::size_t done, std::size_t left) {
        DWORD got = 0;
        return ReadFile(toHandle(handle), data + done, chunkOf(left), &got, nullptr) ? got : 0;
    });
}

std::size_t writeFile(std::int32_t handle, const std::uint8_t* data, std::size_t count) {
    return transferAll(count, [&](std::size_t done, std::size_t left) {
        DWORD put = 0;
        return WriteFile(toHandle(handle), data + done, chunkOf(left), &put, nullptr) ? put : 0;
    });
}

bool flushFile(std::int32_t handle) { return FlushFileBuffers(toHandle(handle)) != 0; }

std::uint32_t setFilePointer(std::int32_t handle, std::int32_t low, std::int32_t* high, SeekFrom from) {
    LONG hi = high ? *high : 0;
    const DWORD r = SetFilePointer(toHandle(handle), low, high ? &hi : nullptr,
                                   from == SeekFrom::Begin ? FILE_BEGIN : FILE_CURRENT);
    if (high) *high = hi;
    return r;
}

bool getFileTimes(std::int32_t handle, FileDateTimeInfo& times) {
    ::FILETIME c{};
    ::FILETIME a{};
    ::FILETIME w{};
    if (!GetFileTime(toHandle(handle), &c, &a, &w)) return false;
    times = {fromSystem(c), fromSystem(a), fromSystem(w)};
    return true;
}

bool setFileTimes(std::int32_t handle, const FileDateTimeInfo& times) {
    const ::FILETIME c = toSystem(times.ctime);
    const ::FILETIME a = toSystem(times.atime);
    const ::FILETIME w = toSystem(times.wtime);
    return SetFileTime(toHandle(handle), &c, &a, &w) != 0;
}

std::uint32_t lastError() { return GetLastError(); }

String systemMessage(std::uint32_t code) {
    char buffer[256];
    std::memset(buffer, 0, sizeof buffer);
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                                   sizeof buffer, nullptr);
    if (n < 1) return String();
    return fromNarrow(std::string(buffer, n));
}

}  // namespace qx::files::sys

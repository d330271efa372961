#pragma once
// The registry functions the routines are built on, in their narrow forms:
// Windows' own (registry_win.cpp) or the file-backed store of the POSIX port
// (registry_posix.cpp). Key handles are 32-bit values; the predefined roots
// are 0x80000000 to 0x80000003. Every function answers a system error code,
// 0 meaning success.
#include <cstdint>
#include <string>

namespace qx::reg::sys {

using Handle = std::int32_t;

long openKeyEx(Handle root, const std::string& subKey, std::uint32_t access, Handle& out);  // RegOpenKeyEx
long openKey(Handle root, const std::string& subKey, Handle& out);                           // RegOpenKey
long createKeyEx(Handle root, const std::string& subKey, std::uint32_t access, Handle& out);
// With `data` null: the type and size only (0). With a buffer smaller than
// the data: the type and size, and 234 (more data).
long queryValue(Handle key, const std::string& name, std::uint32_t* type, unsigned char* data, std::uint32_t* size);
long setValue(Handle key, const std::string& name, std::uint32_t type, const unsigned char* data, std::uint32_t size);
long deleteKey(Handle key, const std::string& subKey);
long deleteValue(Handle key, const std::string& name);
long closeKey(Handle key);

// Expands %NAME% references from the environment.
std::string expandEnvironment(const std::string& text);
// The platform whose layout the machine's registry follows (1 the 95 family,
// 2 the NT family), or another value when it cannot be told.
std::uint32_t registryPlatform();

}  // namespace qx::reg::sys

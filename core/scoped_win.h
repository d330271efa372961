// The Windows resources owned through qx::Scoped.
#pragma once

#include <windows.h>

#include "core/scoped.h"

namespace qx {

// A kernel object handle. Some calls return null for failure and others
// INVALID_HANDLE_VALUE: neither is a handle to close.
struct HandleTraits {
    using Value = HANDLE;
    static HANDLE none() noexcept { return nullptr; }
    static bool valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool close(HANDLE h) noexcept { return CloseHandle(h) != 0; }
};
using UniqueHandle = Scoped<HandleTraits>;

// An opened registry key (never one of the predefined roots).
struct KeyTraits {
    using Value = HKEY;
    static HKEY none() noexcept { return nullptr; }
    static bool valid(HKEY k) noexcept { return k != nullptr; }
    static bool close(HKEY k) noexcept { return RegCloseKey(k) == ERROR_SUCCESS; }
};
using UniqueKey = Scoped<KeyTraits>;

// A directory search from FindFirstFile.
struct FindTraits {
    using Value = HANDLE;
    static HANDLE none() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool close(HANDLE h) noexcept { return FindClose(h) != 0; }
};
using UniqueFind = Scoped<FindTraits>;

}  // namespace qx

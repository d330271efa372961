#pragma once
// The public enumerations and records of the library's interface.
#include <cstdint>

#include "core/qxstring.h"

namespace qx {

enum AppVersion : std::int32_t { Beta = 1, Demo = 2, Release = 3, Trial = 4, Freeware = 5, Shareware = 6 };

enum Direction : std::int32_t { cHorizontal = 0, cVertical = 1 };

enum qxtTraceType : std::int32_t { qxtBeginProcedureTrace = 1, qxtEndProcedureTrace = 2 };

enum XMLFile : std::int32_t { XPThemes = 101, VistaRunAsAdminXPThemes = 102, VistaRunAsAdmin = 103 };

// The Windows headers define these names as macros; the enumerators keep the
// interface's names, so the macros are set aside while they are declared.
#pragma push_macro("HKEY_CLASSES_ROOT")
#undef HKEY_CLASSES_ROOT
#pragma push_macro("HKEY_CURRENT_USER")
#undef HKEY_CURRENT_USER
#pragma push_macro("HKEY_LOCAL_MACHINE")
#undef HKEY_LOCAL_MACHINE
#pragma push_macro("HKEY_USERS")
#undef HKEY_USERS
#pragma push_macro("REG_NONE")
#undef REG_NONE
#pragma push_macro("REG_SZ")
#undef REG_SZ
#pragma push_macro("REG_EXPAND_SZ")
#undef REG_EXPAND_SZ
#pragma push_macro("REG_BINARY")
#undef REG_BINARY
#pragma push_macro("REG_DWORD")
#undef REG_DWORD
#pragma push_macro("REG_DWORD_LITTLE_ENDIAN")
#undef REG_DWORD_LITTLE_ENDIAN
#pragma push_macro("REG_DWORD_BIG_ENDIAN")
#undef REG_DWORD_BIG_ENDIAN
#pragma push_macro("REG_LINK")
#undef REG_LINK
#pragma push_macro("REG_MULTI_SZ")
#undef REG_MULTI_SZ
#pragma push_macro("REG_RESOURCE_LIST")
#undef REG_RESOURCE_LIST
#pragma push_macro("REG_FULL_RESOURCE_DESCRIPTOR")
#undef REG_FULL_RESOURCE_DESCRIPTOR
#pragma push_macro("REG_RESOURCE_REQUIREMENTS_LIST")
#undef REG_RESOURCE_REQUIREMENTS_LIST
enum ERegistryClassConstants : std::uint32_t {
    HKEY_CLASSES_ROOT = 0x80000000u,
    HKEY_CURRENT_USER = 0x80000001u,
    HKEY_LOCAL_MACHINE = 0x80000002u,
    HKEY_USERS = 0x80000003u,
};

enum ERegistryValueTypes : std::int32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_DWORD_LITTLE_ENDIAN = 4,
    REG_DWORD_BIG_ENDIAN = 5,
    REG_LINK = 6,
    REG_MULTI_SZ = 7,
    REG_RESOURCE_LIST = 8,
    REG_FULL_RESOURCE_DESCRIPTOR = 9,
    REG_RESOURCE_REQUIREMENTS_LIST = 10,
};

#pragma pop_macro("HKEY_CLASSES_ROOT")
#pragma pop_macro("HKEY_CURRENT_USER")
#pragma pop_macro("HKEY_LOCAL_MACHINE")
#pragma pop_macro("HKEY_USERS")
#pragma pop_macro("REG_NONE")
#pragma pop_macro("REG_SZ")
#pragma pop_macro("REG_EXPAND_SZ")
#pragma pop_macro("REG_BINARY")
#pragma pop_macro("REG_DWORD")
#pragma pop_macro("REG_DWORD_LITTLE_ENDIAN")
#pragma pop_macro("REG_DWORD_BIG_ENDIAN")
#pragma pop_macro("REG_LINK")
#pragma pop_macro("REG_MULTI_SZ")
#pragma pop_macro("REG_RESOURCE_LIST")
#pragma pop_macro("REG_FULL_RESOURCE_DESCRIPTOR")
#pragma pop_macro("REG_RESOURCE_REQUIREMENTS_LIST")

enum W32F_Errors : std::int32_t {
    W32F_UNKNOWN_ERROR = 45600,
    W32F_FILE_ALREADY_OPEN = 45601,
    W32F_PROBLEM_OPENING_FILE = 45602,
    W32F_FILE_ALREADY_CLOSED = 45603,
    W32F_FILE_NOT_OPEN = 45604,
    W32F_Problem_seeking = 45605,
};

// Window style of a launched program, as the host runtime numbers it.
enum VbAppWinStyle : std::int16_t {
    vbHide = 0,
    vbNormalFocus = 1,
    vbMinimizedFocus = 2,
    vbMaximizedFocus = 3,
    vbNormalNoFocus = 4,
    vbMinimizedNoFocus = 6,
};

// Message-box result codes.
enum VbMsgBoxResult : std::int32_t { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Text alignment of the message box's label.
enum AlignmentConstants : std::int32_t { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };

struct WindowsRegistryInfo {
    String RegOwner;
    String RegCompany;
    String Product;
    String ProductId;
};

struct FILETIME {
    std::int32_t dwLowDateTime = 0;
    std::int32_t dwHighDateTime = 0;
};

struct FileDateTimeInfo {
    FILETIME ctime;
    FILETIME atime;
    FILETIME wtime;
};

}  // namespace qx

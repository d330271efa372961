#pragma once
// How GetSpecialFolders fills its record from the shell's folders, the
// temporary path and the host object, with the system reached through a
// source of functions so that every row can be checked on any platform.
#include <cstdint>
#include <functional>
#include <memory>

#include "core/object.h"
#include "sysinfo/clsSpecialFolders.h"

namespace qx::sysinfo {

// The shell folder numbers the record is built from.
namespace folder {
constexpr std::int32_t RoamingAppData = 26;  // CSIDL_APPDATA
constexpr std::int32_t LocalAppData = 28;    // CSIDL_LOCAL_APPDATA
constexpr std::int32_t CommonAppData = 35;   // CSIDL_COMMON_APPDATA
constexpr std::int32_t Windows = 36;         // CSIDL_WINDOWS
constexpr std::int32_t System = 37;          // CSIDL_SYSTEM
constexpr std::int32_t Profile = 40;         // CSIDL_PROFILE
// The program-files folder of 32-bit programs (CSIDL_PROGRAM_FILESX86): the
// one a 32-bit host is installed into, and the only one a 32-bit Windows has.
constexpr std::int32_t ProgramFiles = 42;
constexpr std::int32_t CommonFiles = 43;  // CSIDL_PROGRAM_FILES_COMMON
}  // namespace folder

struct FolderSource {
    // The path of a shell folder without a trailing separator; "" when it has none.
    std::function<String(std::int32_t)> folderPath;
    // The temporary folder with its trailing separator; "" when it cannot be given.
    std::function<String()> tempPath;
    // Creates the file empty (truncating one that exists) and closes it; raises on failure.
    std::function<void(const String&)> createEmptyFile;
    // The long-name form of a path (GetLongName).
    std::function<String(const String&)> longName;
};

// The system's folders, temporary path, file creation and GetLongName.
FolderSource systemFolderSource();

// A new record filled row by row from the source, reading CompanyName and
// EXEName of the host object where a row needs them (91 without a host).
std::shared_ptr<clsSpecialFolders> buildSpecialFolders(const FolderSource& source, const ObjectRef& hostApp);

// The program-files folder derived from the common-files folder: its last
// trailing separator is dropped and the text up to the separator before it
// kept ("C:\Program Files\Common Files\" gives "C:\Program Files\").
String programFilesFromCommonFiles(const String& commonFiles, char16_t sep);

// The text up to and including the last separator; "" when there is none.
String folderPart(const String& path, char16_t sep);

}  // namespace qx::sysinfo

#pragma once
// Testing and normalising file names: the path routines of the library object.
#include <cstdint>

#include <string>

#include "core/file_errors.h"
#include "core/qxstring.h"

namespace qx::files {

// The name of a path as the system takes it, for every call that hands a
// path to the system. A NUL would make the system see a shorter name, another
// file: a path holding one names nothing, and this raises the runtime's
// not-found error for the operation (53 for a file to read, 76 for a file or
// folder to create), which each routine then treats as its rules say.
std::string systemPath(const String& path, FileOp op);

// The folder separator: "\" on Windows, "/" on POSIX.
char16_t separator();

// True for the printable ASCII characters 0x21..0x7E.
bool isAscii(std::uint8_t b);
// Whether a plain file matches the name (wildcards allowed); folders and
// hidden or system files do not count. Never raises.
bool fileExists(const String& filename);
// Trims spaces and ends a non-empty folder with the separator.
String fixPath(const String& folder);
// The text before the first NUL.
String stripTerminator(const String& buffer);
// Folds "." and ".." segments textually; a relative path stays relative.
// On Windows a result of 255 characters or more does not fit and gives "".
// A path holding a NUL raises 53, as every name handed to the system does.
String getAbsolutePath(const String& relPathName);
// The long form of a path, component by component from the right. Raises 5
// when the full path does not fit in 255 characters (or the system gives
// none), 53 for a path holding a NUL.
String getLongName(const String& fileName);
// The short (8.3) form; "" when the system cannot give one. Where there are
// no short names it is the path itself when that exists.
String getShortName(const String& longPath);
// Creates every folder of a folder path, outermost first. Never raises.
void createFolders(const String& pathName);

}  // namespace qx::files

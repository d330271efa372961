#pragma once
// Testing and normalising file names: the path routines of the library object.
#include <cstdint>

#include "core/qxstring.h"

namespace qx::files {

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
String getAbsolutePath(const String& relPathName);
// The long form of a path, component by component from the right. Raises 5
// when the system gives no full path (on Windows: none within 255 characters).
String getLongName(const String& fileName);
// The short (8.3) form; "" when the system cannot give one. Where there are
// no short names it is the path itself when that exists.
String getShortName(const String& longPath);
// Creates every folder of a folder path, outermost first. Never raises.
void createFolders(const String& pathName);

}  // namespace qx::files

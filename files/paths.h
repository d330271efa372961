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
// Folds "." and ".." segments textually.
String getAbsolutePath(const String& relPathName);
// The long form of a path, component by component from the right.
String getLongName(const String& fileName);
// The short (8.3) form; "" when the system cannot give one.
String getShortName(const String& longPath);
// Creates every folder of a folder path, outermost first. Never raises.
void createFolders(const String& pathName);

}  // namespace qx::files

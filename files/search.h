#pragma once
// Looking for files on disk: the depth-first search for the first folder that
// holds a match, and the existence test that tells a folder written with a
// trailing separator from anything else. Both stop when the host sets the
// thread's cancel flag, and the search lets the host's messages run as it goes.
#include <cstdint>

#include "core/qxstring.h"

namespace qx::files {

// FindFilesAPI: the folder (ending in the separator) of the first entry that
// matches `searchStr`, searching `path` and then its subfolders depth-first
// in the order the system lists them; "" when nothing matches or the search
// was cancelled. `path` gets its trailing separator. Raises 6 when one folder
// lists more than 32,767 subfolders.
String findFiles(String& path, const String& searchStr);

// DoesExist: 1 when `path` (wildcards allowed) names an entry, 2 when it is a
// folder written with a trailing separator, 0 otherwise or when cancelled.
std::int16_t doesExist(const String& path);

}  // namespace qx::files

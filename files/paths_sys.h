#pragma once
// The system side of the path routines, one implementation per platform
// (paths_win.cpp, paths_posix.cpp). The portable routines in paths.cpp call
// these and keep every decision to themselves.
#include "core/qxstring.h"

namespace qx::files::sys {

// The full path of `path` as the system resolves it against the current
// folder; raises 5 when the system cannot give one that fits.
String fullPathName(const String& path);

// The name, as stored, of the first entry that `path` names (its last
// component may hold wildcards); "" when there is none.
String firstEntryName(const String& path);

// Whether the directory search for `pattern` (wildcards allowed in its last
// component) meets an entry that isPlainFileEntry accepts.
bool anyPlainFile(const String& pattern);

// The short (8.3) form of an existing path as the system gives it, into
// `out`; false when there is none that fits the routine's buffer (among
// others, for a path that does not exist). Where there are no short names,
// an existing path is its own short form.
bool shortPathName(const String& path, String& out);

// Creates one folder. Failure (it exists, no access, bad name) is not an error.
void createFolder(const String& path);

}  // namespace qx::files::sys

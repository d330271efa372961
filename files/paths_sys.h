#pragma once
// The system side of the path routines, one implementation per platform
// (paths_win.cpp, paths_posix.cpp). The portable routines in paths.cpp call
// these and keep every decision to themselves.
#include <optional>

#include "core/qxstring.h"

namespace qx::files::sys {

// The canonical form of `path` ("." and ".." folded) as the system's own
// call leaves it in its buffer: kFullPathChars characters, NULs and all; ""
// when the call refuses the path. Nothing where the system has no such call.
std::optional<String> canonicalBuffer(const String& path);

// The full path of `path` as the system's own call leaves it in its buffer
// of kFullPathChars characters, NULs and all. Nothing where the system has
// no such call: the routine then resolves the path against currentFolder().
std::optional<String> fullPathBuffer(const String& path);

// The current folder as the system gives it; raises 5 when it cannot.
String currentFolder();

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

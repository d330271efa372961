#pragma once
// The decisions behind the path routines, free of system calls so that every
// branch can be tested on any platform. The separator is a parameter: the
// Windows port passes "\", the POSIX port "/".
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/file_errors.h"
#include "core/qxstring.h"

namespace qx::files {

// The name of a path as the system takes it, for every call that hands a
// path to the system. A NUL would make the system see a shorter name, another
// file: a path holding one names nothing, and this raises the runtime's
// not-found error for the operation (53 for a file to read, 76 for a file or
// folder to create), which each routine then treats as its rules say.
std::string systemPath(const String& path, FileOp op);
// The same name for the calls that answer "no handle" or "no match" rather
// than raise: nothing for a path holding a NUL.
std::optional<std::string> systemPathIfAny(const String& path);

// The text before the first NUL of a buffer the system filled; raises the
// invalid-argument error (5) when the buffer holds no NUL, as taking
// "everything before the NUL" of such a buffer does in the host runtime.
String textBeforeNulOrRaise(StringView buffer);

// What the directory search of FileExists looks for: a name that ends in the
// separator stands for everything in that folder.
String searchPattern(const String& filename, char16_t sep);

// Attribute bits of a directory entry, with the values Windows gives them.
namespace attr {
constexpr std::uint32_t ReadOnly = 0x01;
constexpr std::uint32_t Hidden = 0x02;
constexpr std::uint32_t System = 0x04;
constexpr std::uint32_t VolumeLabel = 0x08;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t Archive = 0x20;
}  // namespace attr

// True for an entry that the plain-file search reports: ordinary, read-only
// and archive files; not folders, volume labels, hidden or system files.
bool isPlainFileEntry(std::uint32_t attributes);

// The kind of a POSIX directory entry (after following a symbolic link).
enum class EntryKind { RegularFile, Folder, Other };
// The attribute bits a POSIX entry stands for: a name starting with "." is
// hidden when a wildcard met it in a listing (a name given in full is the
// caller's own choice, so "~/.apprc" is an ordinary file), a folder is a
// folder, and anything that is neither a regular file nor a folder (device,
// pipe, socket, broken link) counts as a system entry.
std::uint32_t posixAttributes(StringView name, EntryKind kind, bool wildcardMatch);

// The size of the buffer GetLongName reads the full path from: a full path of
// this many characters or more leaves no NUL in it. GetAbsolutePath reads the
// canonical form out of a buffer of the same size.
constexpr std::size_t kFullPathChars = 255;

// The canonical form read out of the buffer the system's canonicalizing call
// filled: the text before the first NUL, or "" when no NUL comes within
// kFullPathChars characters (the form did not fit).
String canonicalFromBuffer(StringView buffer);

// The full path of `path` where the system has no call of its own for it: an
// absolute path folded, a relative one folded onto `currentFolder`. Raises 5
// for an empty path and for a full path of kFullPathChars bytes or more (the
// bound of the buffer elsewhere), 53 for a path holding a NUL.
String fullPathFromFolder(const String& path, const String& currentFolder, char16_t sep);

// Folds "." and ".." segments out of a path, textually: "a/./b/../c" gives
// "a/c". A ".." never climbs above the root of an absolute path and is kept
// at the start of a relative one; repeated separators count as one; a
// trailing separator is kept; a relative path that folds to nothing is ".".
String foldDotSegments(StringView path, char16_t sep);

// The long-name walk of GetLongName over a full path, from the right:
// `findName(f)` answers the name of the entry f as the system stores it, or
// "" when f cannot be found. The walk stops, keeping the rest of the path as
// it is, at a path of at most two characters, at a component that cannot be
// found and at one whose stored name has at most two characters.
String longNameWalk(const String& fullPath, char16_t sep, const std::function<String(const String&)>& findName);

// The folders CreateFolders creates for a path, outermost first, each ending
// in the separator. Every part that is not blank adds a level; blank parts
// add nothing. A path that starts at a root keeps it: with one leading
// separator the levels start at that root (on Windows the current drive's
// root). With `uncNames`, a path starting with two separators names a share:
// "\\server\share\" opens every level and is never created itself; without
// it, two leading separators are just the root.
std::vector<String> foldersToCreate(const String& path, char16_t sep, bool uncNames);

}  // namespace qx::files

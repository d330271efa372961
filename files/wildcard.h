#pragma once
// Matching a file name against a search pattern with "*" and "?" the way a
// Windows directory search does it, so that the POSIX port finds the same
// files for the same pattern.
#include "core/qxstring.h"

namespace qx::files {

// True when the text holds "*" or "?".
bool hasWildcards(StringView text);

// Whether `name` (one file name, no folder) matches `pattern` under the
// Windows rules, without regard to case:
// - "*" matches any run of characters, and the pattern "*.*" matches every name;
// - a "*" directly before a "." stops at the name's last "." (so "*.ini"
//   matches "a.b.ini" but not "a.ini.bak");
// - "?" matches one character, or nothing when the name has reached a "."
//   or its end ("file?.txt" matches "file.txt", "*.tx?" matches "a.tx");
// - a "." before "*" or "?", or at the end of the pattern, also matches the
//   end of the name ("a.*" matches "a", "*." matches names without a dot).
bool matchesWildcard(StringView pattern, StringView name);

}  // namespace qx::files

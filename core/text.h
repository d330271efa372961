#pragma once
// Splitting byte texts read from system files (mount tables, device
// records, exported registry hives) into their lines.
#include <string_view>
#include <vector>

namespace qx {

// The lines of a text, split at each "\n" (a "\r" before it stays in the
// line); a line end at the very end starts no further, empty, line.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace qx

#pragma once
// Text as the host sees it: UTF-16 code units, with the host runtime's rules
// for trimming (spaces only) and for comparing without regard to case.
#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

using String = std::u16string;
using StringView = std::u16string_view;

// Removes the space character (and only it) from the ends, as the host's Trim does.
String trim(StringView s);
String trimLeft(StringView s);
String trimRight(StringView s);
// The same, as a view into `s` (no copy).
StringView trimView(StringView s);

// Simple case folding used for every comparison "without regard to case":
// ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters fold to lower case.
char16_t foldCase(char16_t c);
bool equalsNoCase(StringView a, StringView b);
// Position of the first occurrence of `needle` in `hay` at or after `from`,
// compared without regard to case; npos when absent.
std::size_t findNoCase(StringView hay, StringView needle, std::size_t from = 0);
bool startsWithNoCase(StringView s, StringView prefix);

// Orders strings without regard to case, for maps keyed the way the host keys collections.
struct NoCaseLess {
    bool operator()(StringView a, StringView b) const;
    using is_transparent = void;
};

// Text crossing to the system: the ANSI code page on Windows, UTF-8 on POSIX.
std::string toNarrow(StringView s);
String fromNarrow(std::string_view s);

// UTF-8 conversions, independent of the platform (for C++ hosts and diagnostics).
std::string toUtf8(StringView s);
// Appends the UTF-8 bytes of one code point.
void appendUtf8(std::string& out, char32_t c);
String fromUtf8(std::string_view s);

// Decimal text of an integer, "-" in front of a negative value, no blank.
String toDecimal(std::int64_t v);

}  // namespace qx

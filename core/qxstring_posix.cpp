// On POSIX the system's narrow text is UTF-8.
#include "core/qxstring.h"

namespace qx {

std::string toNarrow(StringView s) { return toUtf8(s); }
String fromNarrow(std::string_view s) { return fromUtf8(s); }

}  // namespace qx

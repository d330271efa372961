// On POSIX the system's narrow text is UTF-8. Names and files need not be
// valid UTF-8: the conversion keeps every byte, so what is read is written back
// unchanged.
#include "core/qxstring.h"

namespace qx {

std::string toNarrow(StringView s) { return toUtf8Bytes(s); }
String fromNarrow(std::string_view s) { return fromUtf8Bytes(s); }

}  // namespace qx

// On Windows the system's narrow text is the ANSI code page, as the "A" functions take it.
#include <windows.h>

#include "core/qxstring.h"

namespace qx {

std::string toNarrow(StringView s) {
    if (s.empty()) return {};
    const auto* w = reinterpret_cast<const wchar_t*>(s.data());
    const int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

String fromNarrow(std::string_view s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    String out(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

}  // namespace qx

// On POSIX the system's narrow text is UTF-8. Names and files need not be
// valid UTF-8, so the conversion keeps every byte: a byte that is not part of
// a well-formed sequence (shortest form, no surrogates, at most U+10FFFF)
// becomes the lone surrogate U+DC80 + (byte - 0x80), and such a surrogate
// becomes that byte again. What is read is written back unchanged. Other
// unpaired surrogates become U+FFFD's bytes.
#include "core/qxstring.h"

namespace qx {

namespace {
// The length of the well-formed sequence at s[i], 0 when there is none.
std::size_t wellFormedLength(std::string_view s, std::size_t i, char32_t& c) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    char32_t min = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        min = 0x80;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        min = 0x800;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        min = 0x10000;
        c = b & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto cb = static_cast<unsigned char>(s[i + k]);
        if ((cb & 0xC0) != 0x80) return 0;
        c = (c << 6) | (cb & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return len;
}
}  // namespace

std::string toNarrow(StringView s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t u = s[i];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (s[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xDC80 && u <= 0xDCFF) {
            out += static_cast<char>(u - 0xDC00);  // a byte kept from the decoding
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

String fromNarrow(std::string_view s) {
    String out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        char32_t c = 0;
        const std::size_t len = wellFormedLength(s, i, c);
        if (len == 0) {
            out += static_cast<char16_t>(0xDC00 + b);
            ++i;
        } else if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
            i += len;
        } else {
            out += static_cast<char16_t>(c);
            i += len;
        }
    }
    return out;
}

}  // namespace qx

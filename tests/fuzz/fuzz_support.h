#pragma once
// What the fuzz targets share: a scratch folder per process, whole-file
// helpers, printable forms of text for failure reports, and the check that
// stops the run (libFuzzer then saves the input that broke an invariant).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/qxstring.h"

namespace qxfuzz {

// Text with quotes, backslashes and all but printable ASCII escaped (\xNN for
// bytes, \uNNNN for UTF-16 units), cut at `limit` characters.
template <typename Char>
std::string escaped(std::basic_string_view<Char> s, std::size_t limit) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned>(static_cast<std::make_unsigned_t<Char>>(s[i]));
        char buf[16];
        std::snprintf(buf, sizeof buf, sizeof(Char) == 1 ? "\\x%02X" : "\\u%04X", c);
        out += c == '\\' || c == '"' ? std::string(1, '\\') + static_cast<char>(c)
               : c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                       : std::string(buf);
    }
    return out + (s.size() > limit ? "\"...(" + std::to_string(s.size()) + " units)" : "\"");
}
inline std::string printable(qx::StringView s, std::size_t limit = 400) { return escaped(s, limit); }
inline std::string printableBytes(std::string_view b, std::size_t limit = 400) { return escaped(b, limit); }

// Reports a broken invariant with its context and stops the process.
[[noreturn]] inline void fail(const std::string& what, std::initializer_list<std::string> context = {}) {
    std::fprintf(stderr, "\n*** invariant broken: %s\n", what.c_str());
    for (const std::string& line : context) std::fprintf(stderr, "    %s\n", line.c_str());
    std::fflush(stderr);
    std::abort();
}

#define QXFUZZ_CHECK(cond, ...)                                  \
    do {                                                         \
        if (!(cond)) ::qxfuzz::fail(#cond, {__VA_ARGS__});       \
    } while (0)

// A folder of this process's own under the temporary folder, removed when the
// process exits normally (a crash leaves it for inspection).
class ScratchFolder {
public:
    explicit ScratchFolder(const char* tag) {
        std::string templ = (std::filesystem::temp_directory_path() / (std::string(tag) + "-XXXXXX")).string();
        if (::mkdtemp(templ.data()) == nullptr) fail("mkdtemp failed for " + templ);
        path_ = templ;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }

    // Removes everything inside the folder, keeping the folder.
    void clear() const {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(path_, ec)) std::filesystem::remove_all(e.path(), ec);
    }

private:
    std::string path_;
};

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) fail("cannot write the scratch file " + path);
}

}  // namespace qxfuzz

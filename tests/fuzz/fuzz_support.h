#pragma once
// What the fuzz targets share: a scratch folder per process, a whole-file
// writer, printable forms of text for failure reports, and the check that
// stops the run (libFuzzer then saves the input that broke an invariant).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "core/qxstring.h"

namespace qxfuzz {

// Bytes with quotes, backslashes and all but printable ASCII escaped, cut at `limit`.
inline std::string printableBytes(std::string_view b, std::size_t limit = 400) {
    std::string out = "\"";
    for (const unsigned char c : b.substr(0, limit)) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        out += c == '\\' || c == '"' ? std::string{'\\', static_cast<char>(c)}
               : c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                       : std::string(hex);
    }
    return out + (b.size() > limit ? "\"...(" + std::to_string(b.size()) + " bytes)" : "\"");
}
// Text as the bytes of its narrow form.
inline std::string printable(qx::StringView s, std::size_t limit = 400) { return printableBytes(qx::toNarrow(s), limit); }

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
    explicit ScratchFolder(const char* tag)
        : path_((std::filesystem::temp_directory_path() / (std::string(tag) + "-XXXXXX")).string()) {
        if (::mkdtemp(path_.data()) == nullptr) fail("mkdtemp failed for " + path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

    // Removes everything inside the folder, keeping the folder.
    void clear() const {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(path_, ec)) std::filesystem::remove_all(e.path(), ec);
    }

private:
    std::string path_;
};

// The file's bytes; a missing file has none.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) fail("cannot write the scratch file " + path);
}

}  // namespace qxfuzz

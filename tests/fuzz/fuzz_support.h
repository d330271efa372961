#pragma once
// What the fuzz targets share: a scratch folder per process, whole-file
// helpers, printable forms of text for failure reports, and the check that
// stops the run (libFuzzer then saves the input that broke an invariant).
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "core/error.h"
#include "core/qxstring.h"

namespace qxfuzz {

// Text with control characters, quotes, backslashes and non-ASCII code units
// escaped, cut at `limit` characters, for failure reports.
inline std::string printable(qx::StringView s, std::size_t limit = 400) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size() && i < limit; ++i) {
        const char16_t c = s[i];
        char buf[16];
        if (c == u'\\' || c == u'"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c == u'\r') {
            out += "\\r";
        } else if (c == u'\n') {
            out += "\\n";
        } else {
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    if (s.size() > limit) out += "...(" + std::to_string(s.size()) + " units)";
    return out + "\"";
}

inline std::string printableBytes(const std::string& b, std::size_t limit = 400) {
    std::string out = "\"";
    for (std::size_t i = 0; i < b.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned char>(b[i]);
        char buf[8];
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    if (b.size() > limit) out += "...(" + std::to_string(b.size()) + " bytes)";
    return out + "\"";
}

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
        if (::mkdtemp(templ.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
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
        for (const auto& e : std::filesystem::directory_iterator(path_, ec)) {
            std::error_code ec2;
            std::filesystem::remove_all(e.path(), ec2);
        }
    }

private:
    std::string path_;
};

inline bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) fail("cannot write the scratch file " + path);
}

}  // namespace qxfuzz

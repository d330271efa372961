#pragma once
// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends, and a helper that writes paths
// with "|" for the platform's separator.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/qxstring.h"
#include "files/paths.h"

namespace qxtest {

// "|" becomes the platform's separator: p("a|b|") is "a\b\" or "a/b/".
inline qx::String p(qx::StringView text) {
    qx::String out(text);
    for (auto& c : out)
        if (c == u'|') c = qx::files::separator();
    return out;
}

class TempFolder {
public:
    explicit TempFolder(const char* tag = "qx") {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                (std::string(tag) + "_" + std::to_string(stamp) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the library's text, ending in the separator.
    qx::String str() const { return path_.u16string() + qx::files::separator(); }
    // A path inside the folder; "|" separates levels.
    qx::String operator/(qx::StringView rel) const { return str() + p(rel); }

    // Writes a file (relative name, "|" between levels) with the given content.
    std::filesystem::path write(qx::StringView rel, const std::string& content = "x") const {
        const std::filesystem::path file = std::filesystem::path(*this / rel);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

private:
    std::filesystem::path path_;
};

inline bool isFolder(const qx::String& path) { return std::filesystem::is_directory(std::filesystem::path(path)); }

}  // namespace qxtest

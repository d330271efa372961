#pragma once
// A temporary folder per test and whole-file helpers for the INI tests.
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <cstdlib>
#include <string>

#include "core/qxstring.h"

namespace qxtest {

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("qxtest-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path path(const std::string& name) const { return path_ / name; }
    // The path as the library takes it.
    qx::String file(const std::string& name) const { return qx::fromUtf8(path(name).string()); }

private:
    std::filesystem::path path_;
};

inline std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A section of 200 lines all carrying the counter n: what the crash tests save.
inline qx::String iniBody(int n) {
    qx::String b;
    for (int i = 0; i < 200; ++i) {
        if (i) b += u"\r\n";
        b += u"line" + qx::toDecimal(i) + u"=" + qx::toDecimal(n);
    }
    return b;
}

// The counter the file holds, when the file is exactly what a save of it writes; -1 otherwise.
inline int iniIntactCounter(const std::string& bytes) {
    const auto eq = bytes.find("line0=");
    if (eq == std::string::npos) return -1;
    const int n = std::atoi(bytes.c_str() + eq + 6);
    const std::string b = qx::toUtf8(iniBody(n));
    if (bytes == "\r\n[S]\r\n\r\n" + b + "\r\n" || bytes == "[S]\r\n\r\n" + b + "\r\n") return n;
    return -1;
}

}  // namespace qxtest

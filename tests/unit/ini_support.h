#pragma once
// Whole-file helpers for the INI tests (their folders are TempFolders).
#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstdlib>
#include <string>

#include "core/qxstring.h"
#include "temp_folder.h"

namespace qxtest {

inline std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A section of 200 lines all carrying the counter n: what the crash tests save.
inline qx::String iniBody(int n) {
    qx::String b = u"line0=" + qx::toDecimal(n);
    for (int i = 1; i < 200; ++i) b += u"\r\nline" + qx::toDecimal(i) + u"=" + qx::toDecimal(n);
    return b;
}

// The counter the file holds, when the file is exactly what a save of it writes; -1 otherwise.
inline int iniIntactCounter(const std::string& bytes) {
    const auto eq = bytes.find("line0=");
    if (eq == std::string::npos) return -1;
    const int n = std::atoi(bytes.c_str() + eq + 6);
    const std::string b = "[S]\r\n\r\n" + qx::toUtf8(iniBody(n)) + "\r\n";
    return bytes == b || bytes == "\r\n" + b ? n : -1;
}

}  // namespace qxtest

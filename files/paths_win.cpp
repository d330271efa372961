// The path routines on Windows: the ANSI path functions of kernel32 and
// shlwapi, with the buffer sizes the routines have always used.
#include <shlwapi.h>
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>

#include "core/error.h"
#include "core/scoped_win.h"
#include "files/path_logic.h"
#include "files/paths.h"
#include "files/paths_sys.h"

namespace qx::files {

char16_t separator() { return u'\\'; }

namespace {
// The routines read their results out of fixed buffers of these sizes.
constexpr DWORD kShortPathChars = 260;

String narrowText(const char* text, std::size_t max) { return fromNarrow(std::string(text, strnlen(text, max))); }
}  // namespace

namespace sys {

std::optional<String> canonicalBuffer(const String& path) {
    const std::string src = systemPath(path, FileOp::Read);
    // The function may write up to MAX_PATH characters and takes no longer source.
    if (src.size() >= MAX_PATH) return String();
    char out[MAX_PATH + 1] = {};
    if (!PathCanonicalizeA(out, src.c_str())) return String();
    return fromNarrow(std::string(out, kFullPathChars));
}

bool shortPathName(const String& path, String& out) {
    const std::string src = systemPath(path, FileOp::Read);
    char buffer[kShortPathChars + 1] = {};
    const DWORD n = GetShortPathNameA(src.c_str(), buffer, kShortPathChars);
    // 0 is failure; a count of the buffer's size or more is the size it would need.
    if (n == 0 || n >= kShortPathChars) return false;
    out = fromNarrow(std::string(buffer, n));
    return true;
}

std::optional<String> fullPathBuffer(const String& path) {
    const std::string src = systemPath(path, FileOp::Read);
    std::string buffer(kFullPathChars, ' ');
    GetFullPathNameA(src.c_str(), static_cast<DWORD>(kFullPathChars), buffer.data(), nullptr);
    return fromNarrow(buffer);
}

String currentFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, buffer);
    if (n == 0 || n >= MAX_PATH) raise(err::InvalidProcedureCall);
    return fromNarrow(std::string(buffer, n));
}

String firstEntryName(const String& path) {
    WIN32_FIND_DATAA found{};
    const UniqueFind h(FindFirstFileA(systemPath(path, FileOp::Read).c_str(), &found));
    if (!h) return String();
    return narrowText(found.cFileName, MAX_PATH);
}

bool anyPlainFile(const String& pattern) {
    WIN32_FIND_DATAA found{};
    const UniqueFind h(FindFirstFileA(systemPath(pattern, FileOp::Read).c_str(), &found));
    if (!h) return false;
    bool plain = false;
    do {
        plain = isPlainFileEntry(found.dwFileAttributes);
    } while (!plain && FindNextFileA(h.get(), &found));
    return plain;
}

void createFolder(const String& path) { (void)CreateDirectoryA(systemPath(path, FileOp::Create).c_str(), nullptr); }

}  // namespace sys
}  // namespace qx::files

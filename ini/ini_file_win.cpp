// Windows: files read with CreateFileA/ReadFile; a save writes a new file in
// the same folder and puts it in place with ReplaceFileA (which keeps the old
// file's attributes) or, for a new file, MoveFileExA with write-through.
// Locks are named mutexes per INI path; a mutex whose owner died is
// abandoned, and the next waiter acquires it.
#include <windows.h>

#include <map>

#include "core/error.h"
#include "ini/ini_file.h"

namespace qx::ini {

namespace {

std::int32_t fileErrorOf(DWORD e) {
    switch (e) {
        case ERROR_FILE_NOT_FOUND: return err::FileNotFound;
        case ERROR_PATH_NOT_FOUND: return err::PathNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return err::PermissionDenied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return err::DiskFull;
        default: return err::PathFileAccessError;
    }
}

std::string folderOf(const std::string& p) {
    const std::size_t slash = p.find_last_of("\\/");
    return slash == std::string::npos ? "." : p.substr(0, slash);
}

std::string fullPath(const std::string& p) {
    char buf[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(p.c_str(), sizeof buf, buf, nullptr);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : p;
}

struct Held {
    HANDLE mutex = nullptr;
    int depth = 0;
};
thread_local std::map<std::string, Held> t_held;

}  // namespace

std::string readIniBytes(const String& path) {
    const std::string p = toNarrow(path);
    HANDLE h = CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) raise(fileErrorOf(GetLastError()));
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h, &size) && size.QuadPart > 0) bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buf[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(h, buf, sizeof buf, &n, nullptr)) {
            const DWORD e = GetLastError();
            CloseHandle(h);
            raise(fileErrorOf(e));
        }
        if (n == 0) break;
        bytes.append(buf, n);
    }
    CloseHandle(h);
    return bytes;
}

void saveIniBytes(const String& path, const std::string& bytes) {
    const std::string p = toNarrow(path);
    const DWORD attrs = GetFileAttributesA(p.c_str());
    const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
    // What the engine could not open for output, it does not replace either.
    if (exists && (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_DIRECTORY)))
        return;
    char tmp[MAX_PATH * 4];
    if (!GetTempFileNameA(folderOf(p).c_str(), "qxi", 0, tmp)) return;  // a missing folder
    HANDLE h = CreateFileA(tmp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = h != INVALID_HANDLE_VALUE;
    if (ok) {
        const char* data = bytes.data();
        std::size_t left = bytes.size();
        while (ok && left > 0) {
            DWORD n = 0;
            ok = WriteFile(h, data, static_cast<DWORD>(left > (1u << 30) ? (1u << 30) : left), &n, nullptr) != 0;
            data += n;
            left -= n;
        }
        ok = FlushFileBuffers(h) && ok;
        ok = CloseHandle(h) && ok;
    }
    if (ok) {
        ok = exists ? ReplaceFileA(p.c_str(), tmp, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                    : MoveFileExA(tmp, p.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!ok) DeleteFileA(tmp);
}

IniLock::IniLock(const String& path) : key_(fullPath(toNarrow(path))) {
    Held& h = t_held[key_];
    if (h.depth++ > 0) return;
    std::string upper = key_;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    std::uint64_t hash = 1469598103934665603ull;
    for (const unsigned char c : upper) hash = (hash ^ c) * 1099511628211ull;
    char name[96];
    wsprintfA(name, "Local\\QXGenRtns.ini.%08lx%08lx", static_cast<unsigned long>(hash >> 32),
              static_cast<unsigned long>(hash & 0xFFFFFFFFu));
    h.mutex = CreateMutexA(nullptr, FALSE, name);
    if (h.mutex) WaitForSingleObject(h.mutex, INFINITE);  // WAIT_ABANDONED also hands over ownership
}

IniLock::~IniLock() {
    auto it = t_held.find(key_);
    if (it == t_held.end() || --it->second.depth > 0) return;
    if (it->second.mutex) {
        ReleaseMutex(it->second.mutex);
        CloseHandle(it->second.mutex);
    }
    t_held.erase(it);
}

}  // namespace qx::ini

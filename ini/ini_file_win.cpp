// Windows: files read with CreateFileA/ReadFile; a save writes a new file in
// the same folder and moves it over the old one (MoveFileExA, write-through),
// after giving it the old file's attributes.
//
// Locks live in a table shared by every process of the session (a named file
// mapping): one slot per path hash, holding the owner's process identity and
// a generation that every save of that path increments. Taking a free lock
// costs one interlocked instruction; a waiter that finds the owner's process
// gone takes the lock over, so a process that dies never leaves a file locked.
// The generation, with the file's size, time and attributes, stamps a loaded
// file: an INI file that no one saved since it was read is not read again.
#include <windows.h>

#include <atomic>
#include <map>

#include "core/error.h"
#include "core/file_errors.h"
#include "files/paths.h"
#include "ini/ini_file.h"

namespace qx::ini {

namespace {


std::string folderOf(const std::string& p) {
    const std::size_t slash = p.find_last_of("\\/");
    return slash == std::string::npos ? "." : p.substr(0, slash);
}

std::string fullPath(const std::string& p) {
    char buf[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(p.c_str(), sizeof buf, buf, nullptr);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : p;
}

// ---- the shared lock table -----------------------------------------------------

struct Slot {
    volatile LONG64 owner;       // 0: free; else the owning process's identity
    volatile LONG64 generation;  // saves of the paths hashed to this slot
};
constexpr std::size_t kSlots = 4096;

Slot* table() {
    static Slot* slots = [] {
        HANDLE m = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Slot) * kSlots,
                                      "Local\\QXGenRtns.ini.locks.v1");
        return m ? static_cast<Slot*>(MapViewOfFile(m, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    }();
    return slots;
}

// This process, as a lock owner: its identifier and the low part of its
// creation time, so that a reused process identifier is not mistaken for it.
LONG64 processIdentityOf(DWORD pid, HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    return static_cast<LONG64>((static_cast<std::uint64_t>(pid) << 32) | (created.dwLowDateTime | 1u));
}

LONG64 selfIdentity() {
    static const LONG64 me = processIdentityOf(GetCurrentProcessId(), GetCurrentProcess());
    return me;
}

bool ownerAlive(LONG64 owner) {
    const auto pid = static_cast<DWORD>(static_cast<std::uint64_t>(owner) >> 32);
    HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;  // another user's live process
    const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT && processIdentityOf(pid, h) == owner;
    CloseHandle(h);
    return running;
}

std::size_t slotOf(const std::string& key) {
    std::string upper = key;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    std::uint64_t h = 1469598103934665603ull;
    for (const unsigned char c : upper) h = (h ^ c) * 1099511628211ull;
    return static_cast<std::size_t>(h % kSlots);
}

void acquire(Slot& s) {
    const LONG64 me = selfIdentity();
    for (unsigned spins = 0;; ++spins) {
        const LONG64 prev = InterlockedCompareExchange64(&s.owner, me, 0);
        if (prev == 0) return;
        if (spins % 256 == 255 && prev != me && !ownerAlive(prev)) {
            if (InterlockedCompareExchange64(&s.owner, me, prev) == prev) return;  // taken over from the dead
        }
        if (spins < 64) YieldProcessor();
        else Sleep(spins < 1024 ? 0 : 1);
    }
}

struct Held {
    Slot* slot = nullptr;
    int depth = 0;
};
thread_local std::map<std::string, Held> t_held;

Slot* slotFor(const String& path) {
    Slot* t = table();
    return t ? &t[slotOf(fullPath(toNarrow(path)))] : nullptr;
}

bool hasWildcards(const String& path) { return path.find_first_of(u"*?") != String::npos; }

}  // namespace

FileStamp fileStamp(const String& path) {
    FileStamp s;
    if (hasWildcards(path)) {
        s.visible = files::fileExists(path);
        return s;
    }
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (!GetFileAttributesExA(toNarrow(path).c_str(), GetFileExInfoStandard, &d)) return s;
    s.visible = !(d.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
    Slot* slot = slotFor(path);
    s.cacheable = slot != nullptr;
    s.value[0] = (static_cast<std::uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
    s.value[1] = (static_cast<std::uint64_t>(d.ftLastWriteTime.dwHighDateTime) << 32) | d.ftLastWriteTime.dwLowDateTime;
    s.value[2] = d.dwFileAttributes;
    s.value[3] = slot ? static_cast<std::uint64_t>(InterlockedCompareExchange64(&slot->generation, 0, 0)) : 0;
    return s;
}

std::string readIniBytes(const String& path) {
    const std::string p = toNarrow(path);
    HANDLE h = CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) raise(fileErrorFromWin32(GetLastError(), FileOp::Read));
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h, &size) && size.QuadPart > 0) bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t got = 0;
    for (;;) {
        if (bytes.size() - got < 65536) bytes.resize(got + 65536);
        DWORD n = 0;
        if (!ReadFile(h, bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr)) {
            const DWORD e = GetLastError();
            CloseHandle(h);
            raise(fileErrorFromWin32(e, FileOp::Read));
        }
        if (n == 0) break;
        got += n;
    }
    CloseHandle(h);
    bytes.resize(got);
    return bytes;
}

bool saveIniBytes(const String& path, const std::string& bytes) {
    const std::string p = toNarrow(path);
    const DWORD attrs = GetFileAttributesA(p.c_str());
    const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
    // What the engine could not open for output, it does not replace either.
    if (exists && (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    static std::atomic<unsigned> counter{0};
    char name[64];
    wsprintfA(name, "\\~qxini%lx.%lx.%x.tmp", GetCurrentProcessId(), GetCurrentThreadId(), counter++);
    const std::string tmp = folderOf(p) + name;
    HANDLE h = CreateFileA(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;  // a missing folder, or one we may not write in
    bool ok = true;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (ok && left > 0) {
        DWORD n = 0;
        ok = WriteFile(h, data, static_cast<DWORD>(left > (1u << 30) ? (1u << 30) : left), &n, nullptr) != 0;
        data += n;
        left -= n;
    }
    ok = CloseHandle(h) && ok;
    if (ok && exists && attrs != FILE_ATTRIBUTE_NORMAL) ok = SetFileAttributesA(tmp.c_str(), attrs) != 0;
    if (ok) ok = MoveFileExA(tmp.c_str(), p.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
        DeleteFileA(tmp.c_str());
        return false;
    }
    if (Slot* slot = slotFor(path)) InterlockedIncrement64(&slot->generation);
    return true;
}

// Held locks are counted per slot: a thread that holds a slot already (for
// this path or another one hashed to it) does not wait for itself.
IniLock::IniLock(const String& path) : key_(std::to_string(slotOf(fullPath(toNarrow(path))))) {
    Held& h = t_held[key_];
    if (h.depth++ > 0) return;
    Slot* t = table();
    if (!t) return;  // no shared table to be had: the call goes on unguarded
    h.slot = &t[std::stoul(key_)];
    acquire(*h.slot);
}

IniLock::~IniLock() {
    auto it = t_held.find(key_);
    if (it == t_held.end() || --it->second.depth > 0) return;
    if (it->second.slot) InterlockedExchange64(&it->second.slot->owner, 0);
    t_held.erase(it);
}

}  // namespace qx::ini

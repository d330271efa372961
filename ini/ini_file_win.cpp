// Windows: files read with CreateFileA/ReadFile. A save writes a new file in
// the same folder ("~qxini<pid>.<random>.tmp", created exclusively), gives it
// the old file's attributes, creation time and access rights, and renames it
// over the old one; leftovers of writers that died are removed by later saves
// in that folder.
//
// Locks live in a table shared by every process of the session (a named file
// mapping): one slot per path hash, holding the owner's process identity.
// Taking a free lock costs one interlocked instruction; a waiter that finds
// the owner's process gone takes the lock over, so a process that dies never
// leaves a file locked.
//
// A loaded file is kept per thread with its stamp: size, attributes,
// creation, write and change times, read through the same open a load makes. No
// writer can set a file's change time, and a change time older than the
// clock's granularity is one every later change must move, so an unchanged
// stamp means an unchanged file.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <random>

#include "core/error.h"
#include "core/file_errors.h"
#include "core/scoped_win.h"
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

bool hasWildcards(const String& path) { return path.find_first_of(u"*?") != String::npos; }

constexpr DWORD kInvisible = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// ---- the shared lock table -----------------------------------------------------

struct Slot {
    volatile LONG64 owner;       // 0: free; else the owning process's identity
    volatile LONG64 generation;  // kept for the table's layout; no longer used
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

bool processRunning(DWORD pid) {
    const UniqueHandle h(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;  // another user's live process
    return WaitForSingleObject(h.get(), 0) == WAIT_TIMEOUT;
}

bool ownerAlive(LONG64 owner) {
    const auto pid = static_cast<DWORD>(static_cast<std::uint64_t>(owner) >> 32);
    const UniqueHandle h(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
    return WaitForSingleObject(h.get(), 0) == WAIT_TIMEOUT && processIdentityOf(pid, h.get()) == owner;
}

std::size_t slotOf(const std::string& key) {
    std::string upper = key;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    std::uint64_t h = 1469598103934665603ull;
    for (const unsigned char c : upper) h = (h ^ c) * 1099511628211ull;
    return static_cast<std::size_t>(h % kSlots);
}

// Takes the slot within the wait limit; false when the holder kept it longer.
bool acquire(Slot& s) {
    const LONG64 me = selfIdentity();
    const auto deadline = std::chrono::steady_clock::now() + IniLock::waitLimit();
    for (unsigned spins = 0;; ++spins) {
        const LONG64 prev = InterlockedCompareExchange64(&s.owner, me, 0);
        if (prev == 0) return true;
        if (spins % 256 == 255) {
            if (prev != me && !ownerAlive(prev) && InterlockedCompareExchange64(&s.owner, me, prev) == prev)
                return true;  // taken over from the dead
            if (std::chrono::steady_clock::now() >= deadline) return false;
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

// ---- loading ------------------------------------------------------------------------

UniqueHandle openForLoad(const std::string& p) {
    return UniqueHandle(CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The error a load raises for a file it could not open.
[[noreturn]] void raiseOpenError(const std::string& p, DWORD code) {
    const DWORD a = GetFileAttributesA(p.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) raise(err::PathFileAccessError);
    raise(fileErrorFromWin32(code, FileOp::Read));
}

std::string readAll(HANDLE h, std::uint64_t size) {
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t got = 0;
    for (;;) {
        if (bytes.size() - got < 65536) bytes.resize(got + 65536);
        DWORD n = 0;
        if (!ReadFile(h, bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr))
            raise(fileErrorFromWin32(GetLastError(), FileOp::Read));
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

std::uint64_t joined(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

// A change time this much older than the clock is one every later change moves.
constexpr std::uint64_t kSettledChange = 1000000;  // 100 ms in 100 ns units

// The file's times, attributes, size and links, through the handle of the load.
struct HandleInfo {
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
};

bool handleInfo(HANDLE h, HandleInfo& i) {
    return GetFileInformationByHandleEx(h, FileBasicInfo, &i.basic, sizeof i.basic) &&
           GetFileInformationByHandleEx(h, FileStandardInfo, &i.standard, sizeof i.standard);
}

FileStamp stampOf(const HandleInfo& i) {
    FileStamp s;
    const auto change = static_cast<std::uint64_t>(i.basic.ChangeTime.QuadPart);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    s.cacheable = change != 0 && change + kSettledChange < joined(now.dwHighDateTime, now.dwLowDateTime);
    s.value[0] = static_cast<std::uint64_t>(i.basic.CreationTime.QuadPart);
    s.value[1] = i.basic.FileAttributes;
    s.value[2] = static_cast<std::uint64_t>(i.standard.EndOfFile.QuadPart);
    s.value[3] = static_cast<std::uint64_t>(i.basic.LastWriteTime.QuadPart);
    s.value[4] = change;
    return s;
}

// ---- saving ---------------------------------------------------------------------------

// The file a path finally names, through symbolic links and junctions.
std::string finalPath(const std::string& p) {
    UniqueHandle h(CreateFileA(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) return p;
    char buf[MAX_PATH * 4];
    const DWORD n = GetFinalPathNameByHandleA(h.get(), buf, sizeof buf, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    h.reset();
    if (n == 0 || n >= sizeof buf) return p;
    std::string f(buf, n);
    if (f.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + f.substr(8);
    if (f.rfind("\\\\?\\", 0) == 0) return f.substr(4);
    return f;
}

DWORD linkCount(const std::string& p) {
    const UniqueHandle h(CreateFileA(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    if (!h) return 1;
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(h.get(), &info) ? info.nNumberOfLinks : 1;
}

constexpr char kTempPrefix[] = "~qxini";

// Removes the save files in the folder whose writer process is gone.
void removeDeadLeftovers(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    const UniqueFind f(FindFirstFileA((folder + "\\" + kTempPrefix + "*.tmp").c_str(), &found));
    if (!f) return;
    do {
        // The writer's process number, in hex, is the first field after the prefix.
        const std::string name = found.cFileName;
        char* end = nullptr;
        const unsigned long pid = std::strtoul(name.c_str() + sizeof kTempPrefix - 1, &end, 16);
        if (!end || *end != '.' || pid == 0 || pid == GetCurrentProcessId()) continue;
        if (!processRunning(pid)) DeleteFileA((folder + "\\" + name).c_str());
    } while (FindNextFileA(f.get(), &found));
}

bool writeAll(HANDLE h, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD n = 0;
        if (!WriteFile(h, data, static_cast<DWORD>(left > (1u << 30) ? (1u << 30) : left), &n, nullptr)) return false;
        data += n;
        left -= n;
    }
    return true;
}

std::string randomHex() {
    thread_local std::random_device rd;
    char buf[24];
    wsprintfA(buf, "%08lx%08lx", static_cast<unsigned long>(rd()), static_cast<unsigned long>(rd()));
    return buf;
}

enum class Replace { Done, NoNewFile, Refused };

// Gives the new file what made the old one itself to its users: its
// attributes, creation time and access rights.
bool takeOverIdentity(const std::string& from, HANDLE to, const std::string& toName) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (!GetFileAttributesExA(from.c_str(), GetFileExInfoStandard, &d)) return false;
    if (!SetFileTime(to, &d.ftCreationTime, nullptr, nullptr)) return false;
    DWORD need = 0;
    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION;
    GetFileSecurityA(from.c_str(), what, nullptr, 0, &need);
    if (need > 0) {
        std::string sd(need, '\0');
        if (GetFileSecurityA(from.c_str(), what, sd.data(), need, &need))
            (void)SetFileSecurityA(toName.c_str(), what, sd.data());  // not every file system keeps rights
    }
    return d.dwFileAttributes == FILE_ATTRIBUTE_NORMAL || SetFileAttributesA(toName.c_str(), d.dwFileAttributes);
}

// Writes the bytes into a new file beside `p` and moves it over `p` in one
// rename (ReplaceFileW would keep the same things, but is no single step
// everywhere: a writer ended inside it can leave no file at all). Nothing is
// left behind when a step fails. NoNewFile: the folder takes no new file
// (missing, or not ours to write in). Refused: the file could not be
// replaced, most often because another program has it open without letting
// it be deleted (a few quick retries ride out a passing reader), or the disk
// took no new content, where writing in place would cut the file short.
Replace replaceWith(const std::string& p, const std::string& bytes, bool exists) {
    std::string tmp;
    UniqueHandle h;
    for (int attempt = 0; attempt < 16 && !h; ++attempt) {
        char name[64];
        wsprintfA(name, "\\%s%lx.", kTempPrefix, GetCurrentProcessId());
        tmp = folderOf(p) + name + randomHex() + ".tmp";
        h.reset(CreateFileA(tmp.c_str(), GENERIC_WRITE | WRITE_DAC, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
        if (!h && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return Replace::NoNewFile;
    }
    if (!h) return Replace::NoNewFile;
    bool ok = writeAll(h.get(), bytes);
    const bool same = !exists || takeOverIdentity(p, h.get(), tmp);
    ok = h.close() && ok;
    if (!ok || !same) {
        DeleteFileA(tmp.c_str());
        return Replace::Refused;
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (MoveFileExA(tmp.c_str(), p.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return Replace::Done;
        Sleep(1);
    }
    DeleteFileA(tmp.c_str());
    return Replace::Refused;
}

// Rewrites the file itself: it stays the same file (its links and security),
// at the price of a window in which a killed writer leaves it cut short.
bool rewriteInPlace(const std::string& p, const std::string& bytes) {
    UniqueHandle h(CreateFileA(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    const bool ok = writeAll(h.get(), bytes) && SetEndOfFile(h.get());
    return h.close() && ok;
}

}  // namespace

Loaded loadIniFile(const String& path, const FileStamp* cached) {
    Loaded l;
    if (path.find(u'\0') != String::npos) return l;  // names nothing
    const std::string p = toNarrow(path);
    if (path.empty()) return l;
    if (hasWildcards(path) || path.back() == u'\\' || path.back() == u'/') {
        // Only the directory search can tell what such a name matches.
        if (!files::fileExists(path)) return l;
        const UniqueHandle h = openForLoad(p);
        if (!h) raiseOpenError(p, GetLastError());
        l.visible = true;
        l.read = true;
        l.bytes = readAll(h.get(), 0);
        return l;
    }
    const UniqueHandle h = openForLoad(p);
    if (!h) {
        const DWORD e = GetLastError();
        const DWORD a = GetFileAttributesA(p.c_str());
        if (a == INVALID_FILE_ATTRIBUTES || (a & kInvisible)) return l;  // no plain file of that name
        raiseOpenError(p, e);
    }
    HandleInfo info;
    if (!handleInfo(h.get(), info)) raise(fileErrorFromWin32(GetLastError(), FileOp::Read));
    if ((info.basic.FileAttributes & kInvisible) || info.standard.Directory) return l;
    l.visible = true;
    l.stamp = stampOf(info);
    if (cached && l.stamp == *cached) return l;
    l.read = true;
    l.bytes = readAll(h.get(), static_cast<std::uint64_t>(info.standard.EndOfFile.QuadPart));
    return l;
}

bool saveIniBytes(const String& path, const std::string& bytes) {
    if (path.find(u'\0') != String::npos) return false;  // names nothing: the save cannot open it
    std::string p = toNarrow(path);
    DWORD attrs = GetFileAttributesA(p.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
        p = finalPath(p);
        attrs = GetFileAttributesA(p.c_str());
    }
    const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
    // What the engine could not open for output, it leaves alone.
    if (exists && (attrs & (FILE_ATTRIBUTE_READONLY | kInvisible))) return false;
    removeDeadLeftovers(folderOf(p));
    // A hard-linked file would be split by a replace, and a folder that takes
    // no new file leaves no replace to make: the file is rewritten in place.
    // A file that refused to be replaced is in use: writing into it under its
    // user would race that program, so it is left whole.
    if (exists && linkCount(p) > 1) return rewriteInPlace(p, bytes);
    switch (replaceWith(p, bytes, exists)) {
        case Replace::Done: return true;
        case Replace::Refused: return false;
        case Replace::NoNewFile: break;
    }
    return rewriteInPlace(p, bytes);
}

// Held locks are counted per slot: a thread that holds a slot already (for
// this path or another one hashed to it) does not wait for itself.
IniLock::IniLock(const String& path) : key_(std::to_string(slotOf(fullPath(toNarrow(path))))) {
    Held& h = t_held[key_];
    if (h.depth++ > 0) return;
    Slot* t = table();
    if (!t) return;  // no shared table to be had: the call goes on unguarded
    Slot& s = t[std::stoul(key_)];
    if (acquire(s)) h.slot = &s;  // else a hung holder: the call goes on unguarded
}

IniLock::~IniLock() {
    auto it = t_held.find(key_);
    if (it == t_held.end() || --it->second.depth > 0) return;
    if (it->second.slot) InterlockedExchange64(&it->second.slot->owner, 0);
    t_held.erase(it);
}

}  // namespace qx::ini

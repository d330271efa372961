// Windows: files read with CreateFileA/ReadFile, a save renamed over the old
// file after it took the old one's creation time, attributes and access
// rights. Path queries go through NtQueryFullAttributesFile, which gives the
// change time without opening the file.
//
// Locks live in a table shared by every process of the session (a named file
// mapping): one slot per path hash, holding the owner's process identity.
// Taking a free lock costs one interlocked instruction; a waiter that finds
// the owner's process gone takes the lock over, so a process that dies never
// leaves a file locked.
#include <windows.h>
#include <winternl.h>
#include <aclapi.h>

#include <chrono>
#include <map>
#include <random>

#include "core/error.h"
#include "core/file_errors.h"
#include "core/scoped_win.h"
#include "files/paths.h"
#include "ini/ini_file_sys.h"

namespace qx::ini::sys {

namespace {

HANDLE handleOf(const File& f) { return reinterpret_cast<HANDLE>(f.get()); }
File fileOf(HANDLE h) { return File(h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(h)); }

std::string fullPath(const std::string& p) {
    char buf[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(p.c_str(), sizeof buf, buf, nullptr);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : p;
}

constexpr DWORD kInvisible = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::uint64_t quad(LARGE_INTEGER v) { return static_cast<std::uint64_t>(v.QuadPart); }

FileInfo infoFromAttributes(DWORD attrs) {
    FileInfo i;
    i.exists = true;
    i.folder = (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
    i.hidden = (attrs & kInvisible) != 0;
    i.readOnly = (attrs & FILE_ATTRIBUTE_READONLY) != 0;
    i.attributes = attrs;
    return i;
}

// ---- path queries without an open ----------------------------------------------------

using QueryFullAttributes = LONG(NTAPI*)(POBJECT_ATTRIBUTES, FILE_NETWORK_OPEN_INFORMATION*);
using DosPathToNtPath = BOOLEAN(NTAPI*)(PCWSTR, PUNICODE_STRING, PCWSTR*, void*);
using FreeUnicodeString = VOID(NTAPI*)(PUNICODE_STRING);

struct NtCalls {
    QueryFullAttributes query = nullptr;
    DosPathToNtPath toNt = nullptr;
    FreeUnicodeString free = nullptr;
};

const NtCalls& nt() {
    static const NtCalls calls = [] {
        NtCalls c;
        if (const HMODULE m = GetModuleHandleA("ntdll.dll")) {
            c.query = reinterpret_cast<QueryFullAttributes>(
                reinterpret_cast<void*>(GetProcAddress(m, "NtQueryFullAttributesFile")));
            c.toNt = reinterpret_cast<DosPathToNtPath>(
                reinterpret_cast<void*>(GetProcAddress(m, "RtlDosPathNameToNtPathName_U")));
            c.free = reinterpret_cast<FreeUnicodeString>(
                reinterpret_cast<void*>(GetProcAddress(m, "RtlFreeUnicodeString")));
        }
        return c;
    }();
    return calls;
}

// The file's record by its name; a record that does not exist when the
// system has no file of that name (or the query cannot be made).
FileInfo queryPath(const std::string& p) {
    const NtCalls& c = nt();
    if (c.query && c.toNt && c.free && !p.empty()) {
        const int n = MultiByteToWideChar(CP_ACP, 0, p.data(), static_cast<int>(p.size()), nullptr, 0);
        std::wstring w(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_ACP, 0, p.data(), static_cast<int>(p.size()), w.data(), n);
        UNICODE_STRING name{};
        if (n > 0 && c.toNt(w.c_str(), &name, nullptr, nullptr)) {
            OBJECT_ATTRIBUTES oa;
            InitializeObjectAttributes(&oa, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
            FILE_NETWORK_OPEN_INFORMATION info{};
            const LONG status = c.query(&oa, &info);
            c.free(&name);
            if (status < 0) return {};
            FileInfo i = infoFromAttributes(info.FileAttributes);
            i.size = quad(info.EndOfFile);
            i.created = quad(info.CreationTime);
            i.written = quad(info.LastWriteTime);
            i.changed = quad(info.ChangeTime);
            return i;
        }
    }
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (!GetFileAttributesExA(p.c_str(), GetFileExInfoStandard, &d)) return {};
    FileInfo i = infoFromAttributes(d.dwFileAttributes);
    i.size = (static_cast<std::uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
    i.created = (static_cast<std::uint64_t>(d.ftCreationTime.dwHighDateTime) << 32) | d.ftCreationTime.dwLowDateTime;
    i.written = (static_cast<std::uint64_t>(d.ftLastWriteTime.dwHighDateTime) << 32) | d.ftLastWriteTime.dwLowDateTime;
    return i;
}

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

// ---- loading and saving ----------------------------------------------------------------

HANDLE openForReading(const std::string& p) {
    return CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The error a load raises for a file it could not open.
[[noreturn]] void raiseOpenError(const std::string& p, DWORD code) {
    const DWORD a = GetFileAttributesA(p.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) raise(err::PathFileAccessError);
    raise(fileErrorFromWin32(code, FileOp::Read));
}

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

// The access rights of a file, as the bytes of its security descriptor.
std::string rightsOf(const std::string& p) {
    char small[1024];
    DWORD need = 0;
    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION;
    if (GetFileSecurityA(p.c_str(), what, small, sizeof small, &need))
        return std::string(small, GetSecurityDescriptorLength(small));
    if (need <= sizeof small) return {};
    std::string sd(need, '\0');
    return GetFileSecurityA(p.c_str(), what, sd.data(), need, &need) ? sd : std::string();
}

std::string rightsOf(HANDLE h) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetSecurityInfo(h, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr, &sd) !=
        ERROR_SUCCESS)
        return {};
    std::string bytes;
    DWORD size = 0;
    MakeSelfRelativeSD(sd, nullptr, &size);
    bytes.resize(size);
    if (size == 0 || !MakeSelfRelativeSD(sd, bytes.data(), &size)) bytes.clear();
    LocalFree(sd);
    return bytes;
}

// What this thread last gave a file's rights: while that file is unchanged,
// its rights need no asking. And what a new file gets in a folder.
struct KnownRights {
    std::string path;
    FileInfo record;
    std::string rights;
};
thread_local KnownRights t_rights;
thread_local std::map<std::string, std::string> t_newFileRights;

}  // namespace

const char kSeparators[] = "\\/";

bool File::close() {
    if (h_ == kNone) return true;
    return CloseHandle(reinterpret_cast<HANDLE>(release())) != 0;
}

bool openForLoad(const String& path, File& f, FileInfo& quick) {
    const std::string p = toNarrow(path);
    if (path.find_first_of(u"*?") != String::npos || path.back() == u'\\' || path.back() == u'/') {
        // Only the directory search can tell what such a name matches.
        if (!files::fileExists(path)) return false;
        f = fileOf(openForReading(p));
        if (!f) raiseOpenError(p, GetLastError());
        return true;
    }
    f = fileOf(openForReading(p));
    if (!f) {
        const DWORD e = GetLastError();
        const DWORD a = GetFileAttributesA(p.c_str());
        if (a == INVALID_FILE_ATTRIBUTES || (a & (kInvisible | FILE_ATTRIBUTE_DIRECTORY))) return false;
        raiseOpenError(p, e);
    }
    quick = queryPath(p);
    return true;
}

bool infoOf(const File& f, FileInfo& info) {
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    if (!GetFileInformationByHandleEx(handleOf(f), FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(handleOf(f), FileStandardInfo, &standard, sizeof standard))
        return false;
    info = infoFromAttributes(basic.FileAttributes);
    info.folder = info.folder || standard.Directory;
    info.links = standard.NumberOfLinks;
    info.size = quad(standard.EndOfFile);
    info.created = quad(basic.CreationTime);
    info.written = quad(basic.LastWriteTime);
    info.changed = quad(basic.ChangeTime);
    return true;
}

std::string readAll(const File& f, std::uint64_t sizeHint) {
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(sizeHint));
    std::size_t got = 0;
    for (;;) {
        if (bytes.size() - got < 65536) bytes.resize(got + 65536);
        DWORD n = 0;
        if (!ReadFile(handleOf(f), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr))
            raise(fileErrorFromWin32(GetLastError(), FileOp::Read));
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

std::uint64_t now() {
    FILETIME t{};
    GetSystemTimeAsFileTime(&t);
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

std::string savePath(const String& path) {
    const std::string p = toNarrow(path);
    const DWORD attrs = GetFileAttributesA(p.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT) ? finalPath(p) : p;
}

FileInfo pathInfo(const std::string& p) { return queryPath(p); }

std::uint32_t linkCount(const std::string& p) {
    const UniqueHandle h(CreateFileA(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return h && GetFileInformationByHandle(h.get(), &info) ? info.nNumberOfLinks : 1;
}

// A folder that takes no new file shows itself when the save file is created.
bool mayCreateIn(const std::string&) { return true; }

Create createExclusive(const std::string& p, const FileInfo*, File& f) {
    f = fileOf(CreateFileA(p.c_str(), GENERIC_WRITE | WRITE_DAC | READ_CONTROL, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f) return Create::Made;
    const DWORD e = GetLastError();
    return e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS ? Create::Exists : Create::Failed;
}

bool writeAll(const File& f, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD n = 0;
        if (!WriteFile(handleOf(f), data, static_cast<DWORD>(left > (1u << 30) ? (1u << 30) : left), &n, nullptr))
            return false;
        data += n;
        left -= n;
    }
    return true;
}

bool copyIdentity(const std::string& from, const FileInfo& old, const File& to, const std::string& toPath) {
    // Creation time and attributes in one call on the open file.
    FILE_BASIC_INFO basic{};
    basic.CreationTime.QuadPart = static_cast<LONGLONG>(old.created);
    basic.FileAttributes = static_cast<DWORD>(old.attributes) == FILE_ATTRIBUTE_NORMAL
                               ? 0
                               : static_cast<DWORD>(old.attributes & ~FILE_ATTRIBUTE_DIRECTORY);
    if (!SetFileInformationByHandle(handleOf(to), FileBasicInfo, &basic, sizeof basic)) return false;
    // The rights: known while the file is the one this thread last gave them to.
    std::string rights;
    if (t_rights.path == from && t_rights.record.changed != 0 && t_rights.record.changed == old.changed &&
        t_rights.record.created == old.created && t_rights.record.written == old.written)
        rights = t_rights.rights;
    else
        rights = rightsOf(from);
    t_rights = {};
    if (rights.empty()) return true;  // not every file system keeps rights
    const std::size_t cut = toPath.find_last_of(kSeparators);
    const std::string folder = cut == std::string::npos ? std::string() : toPath.substr(0, cut);
    auto inherited = t_newFileRights.find(folder);
    if (inherited == t_newFileRights.end()) inherited = t_newFileRights.emplace(folder, rightsOf(handleOf(to))).first;
    if (rights != inherited->second) {
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        auto* sd = const_cast<char*>(rights.data());
        if (GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) && present)
            (void)SetSecurityInfo(handleOf(to), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl,
                                  nullptr);  // not every file system keeps rights
    }
    t_rights.path = from;
    t_rights.rights = std::move(rights);
    return true;
}

// A few quick retries ride out a reader that has the file open for a moment.
bool replaceFile(const std::string& from, const std::string& to) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            if (t_rights.path == to) t_rights.record = queryPath(to);
            return true;
        }
        Sleep(1);
    }
    return false;
}

void removeFile(const std::string& p) { DeleteFileA(p.c_str()); }

bool rewriteFile(const std::string& p, const std::string& bytes) {
    File f = fileOf(CreateFileA(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    const bool ok = writeAll(f, bytes) && SetEndOfFile(handleOf(f));
    return f.close() && ok;
}

void listFolder(const std::string& folder, const std::function<void(const std::string&)>& each) {
    WIN32_FIND_DATAA found{};
    const UniqueFind f(FindFirstFileA((folder + ".*.tmp").c_str(), &found));
    if (!f) return;
    do each(found.cFileName);
    while (FindNextFileA(f.get(), &found));
}

unsigned long processId() { return GetCurrentProcessId(); }

bool processAlive(unsigned long pid) {
    const UniqueHandle h(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid)));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;  // another user's live process
    return WaitForSingleObject(h.get(), 0) == WAIT_TIMEOUT;
}

std::uint64_t randomBits() {
    thread_local std::random_device rd;
    return (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
}

// Keyed on the slot: a thread that holds a slot already (for this path or
// another one hashed to it) does not wait for itself.
std::string lockKey(const String& path) { return std::to_string(slotOf(fullPath(toNarrow(path)))); }

// Takes the slot within the wait limit; false when the holder kept it longer.
bool lockAcquire(const std::string& key, std::intptr_t& token) {
    Slot* t = table();
    if (!t) return false;  // no shared table to be had
    token = static_cast<std::intptr_t>(std::stoul(key));
    Slot& s = t[token];
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

void lockRelease(const std::string&, std::intptr_t token) { InterlockedExchange64(&table()[token].owner, 0); }

}  // namespace qx::ini::sys

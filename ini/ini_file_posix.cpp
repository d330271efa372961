// POSIX: files read and written with open/read/write. A save goes to a new
// file beside the old one (".<name>.<pid>.<random>.tmp", created exclusively)
// and is renamed over it, keeping its mode and group; leftovers of writers
// that died are removed by the next save of that file. Locks are flock locks
// on lock files in a shared folder under /tmp, released by the kernel when a
// process dies; the last holder removes its lock file.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <thread>
#include <vector>

#include "core/error.h"
#include "core/file_errors.h"
#include "core/scoped_posix.h"
#include "files/path_logic.h"
#include "files/paths.h"
#include "ini/ini_file.h"

namespace qx::ini {

namespace {

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = retryOnEintr([&] { return ::write(fd, data, size); });
        if (n < 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& p) {
    const std::size_t slash = p.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

std::string nameOf(const std::string& p) {
    const std::size_t slash = p.find_last_of('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string inFolder(const std::string& folder, const std::string& name) {
    return (folder == "/" ? "" : folder) + "/" + name;
}

// The file a path finally names: symbolic links followed, a dangling one to
// the file it would name.
std::string linkTarget(const std::string& p) {
    std::string cur = p;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(cur.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return cur;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
        const ssize_t n = ::readlink(cur.c_str(), buf.data(), buf.size());
        if (n < 0 || static_cast<std::size_t>(n) >= buf.size()) return cur;
        const std::string target(buf.data(), static_cast<std::size_t>(n));
        cur = !target.empty() && target[0] == '/' ? target : inFolder(folderOf(cur), target);
    }
    return cur;
}

// The path a lock is keyed on: the real folder and the file's name, so that
// two spellings of one file share one lock.
std::string lockKey(const std::string& p) {
    char buf[PATH_MAX];
    const std::string target = linkTarget(p);
    if (::realpath(folderOf(target).c_str(), buf) != nullptr) return std::string(buf) + "/" + nameOf(target);
    return target;
}

std::uint64_t fnv1a(const std::string& s) {
    std::uint64_t h = 1469598103934665603ull;
    for (const unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::string randomHex() {
    thread_local std::random_device rd;
    char buf[24];
    std::snprintf(buf, sizeof buf, "%08x%08x", static_cast<unsigned>(rd()), static_cast<unsigned>(rd()));
    return buf;
}

// Removes the save files of `name` in `folder` whose writer process is gone.
// Called under the file's lock: no live writer of this process tree is saving it.
void removeDeadLeftovers(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const std::string prefix = "." + name + ".";
    while (const dirent* e = ::readdir(dir)) {
        const std::string entry = e->d_name;
        if (entry.size() <= prefix.size() + 4 || entry.compare(0, prefix.size(), prefix) != 0 ||
            entry.compare(entry.size() - 4, 4, ".tmp") != 0)
            continue;
        // The writer's process number is the first field after the name.
        const std::size_t end = entry.find('.', prefix.size());
        const std::string pid = entry.substr(prefix.size(), end - prefix.size());
        if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const long n = std::strtol(pid.c_str(), nullptr, 10);
        if (n <= 0 || n == static_cast<long>(::getpid())) continue;
        if (::kill(static_cast<pid_t>(n), 0) != 0 && errno == ESRCH) ::unlink(inFolder(folder, entry).c_str());
    }
    ::closedir(dir);
}

enum class Replace { Done, NoNewFile, Refused };

// Writes the bytes into a new file beside `p` and renames it over `p`,
// leaving nothing behind when a step fails. NoNewFile: the folder takes no
// new file (missing, or not ours to write in). Refused: a later step failed
// (a full disk, a group we may not give it), where writing in place would
// fare no better or cut the file short.
Replace replaceWith(const std::string& p, const std::string& bytes, const struct stat* old) {
    const std::string folder = folderOf(p);
    std::string tmp;
    UniqueFd fd;
    for (int attempt = 0; attempt < 16 && !fd; ++attempt) {
        tmp = inFolder(folder, "." + nameOf(p) + "." + std::to_string(::getpid()) + "." + randomHex() + ".tmp");
        fd.reset(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd && errno != EEXIST) return Replace::NoNewFile;
    }
    if (!fd) return Replace::NoNewFile;
    bool ok = writeAll(fd.get(), bytes.data(), bytes.size());
    if (ok && old) {
        if (old->st_gid != ::getegid()) ok = ::fchown(fd.get(), static_cast<uid_t>(-1), old->st_gid) == 0;
        ok = ok && ::fchmod(fd.get(), old->st_mode & 07777) == 0;
    }
    ok = fd.close() && ok;
    if (ok && ::rename(tmp.c_str(), p.c_str()) == 0) return Replace::Done;
    ::unlink(tmp.c_str());
    return Replace::Refused;
}

// Truncates the file and writes the bytes into it: the file stays the same
// file (its links, owner and permissions), at the price of a window in which
// a killed writer leaves it cut short.
bool rewriteInPlace(const std::string& p, const std::string& bytes) {
    UniqueFd fd(::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd) return false;
    const bool ok = writeAll(fd.get(), bytes.data(), bytes.size());
    return fd.close() && ok;
}

struct Held {
    UniqueFd fd;
    std::string file;
    int depth = 0;
};
thread_local std::map<std::string, Held> t_held;

const char* const kLockFolder = "/tmp/.qxgenrtns-locks";

// Takes the lock file's flock within the wait limit. The lock file may be
// removed by its last holder between our open and our lock: holding a lock on
// a file that is no longer the one under its name is no lock, so try again.
int takeLock(const std::string& name) {
    const auto deadline = std::chrono::steady_clock::now() + IniLock::waitLimit();
    unsigned pause = 50;  // microseconds, doubled up to 5 ms while waiting
    for (;;) {
        UniqueFd fd(::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
        if (!fd) return -1;
        for (;;) {
            if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) break;
            if (errno != EWOULDBLOCK && errno != EINTR) return -1;
            if (std::chrono::steady_clock::now() >= deadline) return -1;
            std::this_thread::sleep_for(std::chrono::microseconds(pause));
            pause = std::min(pause * 2, 5000u);
        }
        struct stat held {}, named {};
        if (::fstat(fd.get(), &held) == 0 && ::stat(name.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev)
            return fd.release();
    }
}

}  // namespace

Loaded loadIniFile(const String& path, const FileStamp*) {
    Loaded l;
    // A local file is read in microseconds: it is simply read at every load.
    if (path.find(u'\0') != String::npos || !files::fileExists(path)) return l;
    l.visible = true;
    l.read = true;
    const std::string p = files::systemPath(path, FileOp::Read);
    const UniqueFd fd(::open(p.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) raise(fileErrorFromErrno(errno, FileOp::Read));
    struct stat st {};
    if (::fstat(fd.get(), &st) == 0 && st.st_size > 0) l.bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = retryOnEintr([&] { return ::read(fd.get(), buf, sizeof buf); });
        if (n < 0) raise(fileErrorFromErrno(errno, FileOp::Read));
        if (n == 0) break;
        l.bytes.append(buf, static_cast<std::size_t>(n));
    }
    return l;
}

bool saveIniBytes(const String& path, const std::string& bytes) {
    if (path.find(u'\0') != String::npos) return false;  // names nothing: the save cannot open it
    const std::string p = linkTarget(files::systemPath(path, FileOp::Create));
    struct stat st {};
    const bool exists = ::stat(p.c_str(), &st) == 0;
    // What the engine could not open for output, it leaves alone.
    if (exists && (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(p.c_str(), W_OK) != 0)) return false;
    removeDeadLeftovers(folderOf(p), nameOf(p));
    // A rename makes a new file: only where that new file is the same file
    // to everyone (one link, our own, in a folder we may write in).
    const bool replaceable =
        !exists || (st.st_nlink == 1 && st.st_uid == ::geteuid() && ::access(folderOf(p).c_str(), W_OK) == 0);
    if (replaceable) {
        switch (replaceWith(p, bytes, exists ? &st : nullptr)) {
            case Replace::Done: return true;
            case Replace::Refused: return false;
            case Replace::NoNewFile: break;
        }
    }
    return rewriteInPlace(p, bytes);
}

IniLock::IniLock(const String& path) {
    if (path.find(u'\0') != String::npos) return;  // names no file: nothing to guard
    key_ = lockKey(toNarrow(path));
    Held& h = t_held[key_];
    if (h.depth++ > 0) return;
    if (::mkdir(kLockFolder, 01777) == 0) ::chmod(kLockFolder, 01777);
    char name[128];
    std::snprintf(name, sizeof name, "%s/%016llx.lock", kLockFolder, static_cast<unsigned long long>(fnv1a(key_)));
    h.file = name;
    h.fd.reset(takeLock(h.file));  // -1: no lock to be had in time; the call goes on unguarded
}

IniLock::~IniLock() {
    if (key_.empty()) return;
    auto it = t_held.find(key_);
    if (it == t_held.end() || --it->second.depth > 0) return;
    if (it->second.fd) {
        // Removed while still locked: a waiter that opened it finds it gone and opens anew.
        ::unlink(it->second.file.c_str());
        ::flock(it->second.fd.get(), LOCK_UN);
        it->second.fd.reset();
    }
    t_held.erase(it);
}

}  // namespace qx::ini

// POSIX: files read and written with open/read/write, a save renamed over the
// old file keeping its mode and group. The system gives no change time a load
// could trust here (a local file is read in microseconds: it is simply read at
// every load). Locks are flock locks on lock files in a shared folder under
// /tmp, released by the kernel when a process dies; the last holder removes
// its lock file.
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
#include <ctime>
#include <random>
#include <thread>
#include <vector>

#include "core/error.h"
#include "core/file_errors.h"
#include "core/scoped_posix.h"
#include "files/path_logic.h"
#include "files/paths.h"
#include "ini/ini_file_sys.h"

namespace qx::ini::sys {

namespace {

int fdOf(const File& f) { return static_cast<int>(f.get()); }

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

FileInfo infoFrom(const struct stat& st) {
    FileInfo i;
    i.exists = true;
    i.folder = !S_ISREG(st.st_mode);
    i.otherOwner = st.st_uid != ::geteuid();
    i.links = static_cast<std::uint32_t>(st.st_nlink);
    i.size = static_cast<std::uint64_t>(st.st_size);
    i.attributes = st.st_mode;
    i.group = st.st_gid;
    return i;
}

std::uint64_t fnv1a(const std::string& s) {
    std::uint64_t h = 1469598103934665603ull;
    for (const unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return h;
}

const char* const kLockFolder = "/tmp/.qxgenrtns-locks";

std::string lockFileOf(const std::string& key) {
    char name[128];
    std::snprintf(name, sizeof name, "%s/%016llx.lock", kLockFolder, static_cast<unsigned long long>(fnv1a(key)));
    return name;
}

}  // namespace

const char kSeparators[] = "/";

bool File::close() {
    if (h_ == kNone) return true;
    return ::close(static_cast<int>(release())) == 0;
}

bool openForLoad(const String& path, File& f, FileInfo&) {
    if (!files::fileExists(path)) return false;
    f = File(::open(files::systemPath(path, FileOp::Read).c_str(), O_RDONLY | O_CLOEXEC));
    if (!f) raise(fileErrorFromErrno(errno, FileOp::Read));
    // A folder named with a trailing separator opens here, but reads as no file can.
    struct stat st {};
    if (::fstat(fdOf(f), &st) == 0 && S_ISDIR(st.st_mode)) raise(fileErrorFromErrno(EISDIR, FileOp::Read));
    return true;
}

bool infoOf(const File& f, FileInfo& info) {
    struct stat st {};
    if (::fstat(fdOf(f), &st) != 0) return false;
    info = infoFrom(st);
    return true;
}

std::string readAll(const File& f, std::uint64_t sizeHint) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(sizeHint));
    char buf[65536];
    for (;;) {
        const ssize_t n = retryOnEintr([&] { return ::read(fdOf(f), buf, sizeof buf); });
        if (n < 0) raise(fileErrorFromErrno(errno, FileOp::Read));
        if (n == 0) return bytes;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
}

std::uint64_t now() {
    struct timespec ts {};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 10000000u + static_cast<std::uint64_t>(ts.tv_nsec) / 100u;
}

std::string savePath(const String& path) { return linkTarget(files::systemPath(path, FileOp::Create)); }

FileInfo pathInfo(const std::string& p) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return {};
    FileInfo i = infoFrom(st);
    i.readOnly = (st.st_mode & 0222) == 0 || ::access(p.c_str(), W_OK) != 0;
    return i;
}

std::uint32_t linkCount(const std::string& p) { return pathInfo(p).links; }

bool mayCreateIn(const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; }

Create createExclusive(const std::string& p, const FileInfo*, File& f) {
    f = File(::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (f) return Create::Made;
    return errno == EEXIST ? Create::Exists : Create::Failed;
}

bool writeAll(const File& f, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const ssize_t n = retryOnEintr([&] { return ::write(fdOf(f), data, size); });
        if (n < 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool copyIdentity(const std::string&, const FileInfo& old, const File& to, const std::string&) {
    const auto gid = static_cast<gid_t>(old.group);
    if (gid != ::getegid() && ::fchown(fdOf(to), static_cast<uid_t>(-1), gid) != 0) return false;
    return ::fchmod(fdOf(to), static_cast<mode_t>(old.attributes & 07777)) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

void removeFile(const std::string& p) { ::unlink(p.c_str()); }

bool rewriteFile(const std::string& p, const std::string& bytes) {
    File f(::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!f) return false;
    const bool ok = writeAll(f, bytes);
    return f.close() && ok;
}

void listFolder(const std::string& folder, const std::function<void(const std::string&)>& each) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent* e = ::readdir(dir)) each(e->d_name);
    ::closedir(dir);
}

unsigned long processId() { return static_cast<unsigned long>(::getpid()); }

bool processAlive(unsigned long pid) {
    return pid > static_cast<unsigned long>(INT_MAX) || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

std::uint64_t randomBits() {
    thread_local std::random_device rd;
    return (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
}

// The path a lock is keyed on: the real folder and the file's name, so that
// two spellings of one file share one lock.
std::string lockKey(const String& path) {
    char buf[PATH_MAX];
    const std::string target = linkTarget(toNarrow(path));
    if (::realpath(folderOf(target).c_str(), buf) != nullptr) return std::string(buf) + "/" + nameOf(target);
    return target;
}

// Takes the lock file's flock within the wait limit. The lock file may be
// removed by its last holder between our open and our lock: holding a lock on
// a file that is no longer the one under its name is no lock, so try again.
bool lockAcquire(const std::string& key, std::intptr_t& token) {
    if (::mkdir(kLockFolder, 01777) == 0) ::chmod(kLockFolder, 01777);
    const std::string name = lockFileOf(key);
    const auto deadline = std::chrono::steady_clock::now() + IniLock::waitLimit();
    unsigned pause = 50;  // microseconds, doubled up to 5 ms while waiting
    for (;;) {
        UniqueFd fd(::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
        if (!fd) return false;
        for (;;) {
            if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) break;
            if (errno != EWOULDBLOCK && errno != EINTR) return false;
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::microseconds(pause));
            pause = std::min(pause * 2, 5000u);
        }
        struct stat held {}, named {};
        if (::fstat(fd.get(), &held) == 0 && ::stat(name.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev) {
            token = fd.release();
            return true;
        }
    }
}

void lockRelease(const std::string& key, std::intptr_t token) {
    // Removed while still locked: a waiter that opened it finds it gone and opens anew.
    ::unlink(lockFileOf(key).c_str());
    ::flock(static_cast<int>(token), LOCK_UN);
    ::close(static_cast<int>(token));
}

}  // namespace qx::ini::sys

// POSIX: files read and written with open/read/write; a save goes to a new
// file beside the old one and is renamed over it, keeping its mode. Locks are
// flock locks on a lock file per INI path in a shared folder under /tmp,
// released by the kernel when a process dies.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>

#include "core/error.h"
#include "core/file_errors.h"
#include "files/paths.h"
#include "ini/ini_file.h"

namespace qx::ini {

namespace {


bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
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

// The path a lock is keyed on: the real folder and the file's name, so that
// two spellings of one file share one lock.
std::string lockKey(const std::string& p) {
    char buf[PATH_MAX];
    const std::string folder = folderOf(p);
    if (::realpath(folder.c_str(), buf) != nullptr) return std::string(buf) + "/" + nameOf(p);
    return p;
}

std::uint64_t fnv1a(const std::string& s) {
    std::uint64_t h = 1469598103934665603ull;
    for (const unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return h;
}

struct Held {
    int fd = -1;
    int depth = 0;
};
thread_local std::map<std::string, Held> t_held;

}  // namespace

std::string readIniBytes(const String& path) {
    const std::string p = toNarrow(path);
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) raise(fileErrorFromErrno(errno, FileOp::Read));
    std::string bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            raise(fileErrorFromErrno(e, FileOp::Read));
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

// A local file is read in microseconds: it is simply read at every load.
FileStamp fileStamp(const String& path) {
    FileStamp s;
    s.visible = files::fileExists(path);
    return s;
}

bool saveIniBytes(const String& path, const std::string& bytes) {
    const std::string p = toNarrow(path);
    struct stat st {};
    const bool exists = ::stat(p.c_str(), &st) == 0;
    if (exists) {
        // What the engine could not write in place, it does not replace either.
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(p.c_str(), W_OK) != 0) return false;
        if (nameOf(p).rfind('.', 0) == 0) return false;  // hidden
    }
    static std::atomic<unsigned> counter{0};
    char suffix[96];
    std::snprintf(suffix, sizeof suffix, ".%ld.%zx.%u.tmp", static_cast<long>(::getpid()),
                  std::hash<std::thread::id>{}(std::this_thread::get_id()), counter++);
    const std::string folder = folderOf(p);
    const std::string tmp = (folder == "/" ? "" : folder) + "/." + nameOf(p) + suffix;
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;  // a missing folder, or one we may not write in
    bool ok = writeAll(fd, bytes.data(), bytes.size());
    if (ok && exists) ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(tmp.c_str(), p.c_str()) == 0) return true;
    ::unlink(tmp.c_str());
    return false;
}

IniLock::IniLock(const String& path) : key_(lockKey(toNarrow(path))) {
    Held& h = t_held[key_];
    if (h.depth++ > 0) return;
    static const char* const kFolder = "/tmp/.qxgenrtns-locks";
    if (::mkdir(kFolder, 01777) == 0) ::chmod(kFolder, 01777);
    char name[128];
    std::snprintf(name, sizeof name, "%s/%016llx.lock", kFolder, static_cast<unsigned long long>(fnv1a(key_)));
    h.fd = ::open(name, O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (h.fd < 0) return;  // no lock to be had: the call goes on unguarded
    while (::flock(h.fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

IniLock::~IniLock() {
    auto it = t_held.find(key_);
    if (it == t_held.end() || --it->second.depth > 0) return;
    if (it->second.fd >= 0) {
        ::flock(it->second.fd, LOCK_UN);
        ::close(it->second.fd);
    }
    t_held.erase(it);
}

}  // namespace qx::ini

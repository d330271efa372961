// The file access object's calls on POSIX: file descriptors, with errno as
// the error code. Windows share modes become open-file-description locks on
// two bytes far past any data: a read-write open holds one shared, a
// read-only open the other, and each refuses to open while the other kind is
// held (EBUSY), as a read-only open there refuses writers and a writer refuses
// read-only opens. A file that grants nobody write access counts as
// read-only, as a file with the read-only attribute does: a read-write open
// of it is refused (EACCES) even for root.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "core/scoped_posix.h"
#include "files/file_access_sys.h"
#include "files/file_times.h"
#include "files/path_logic.h"

namespace qx::files::sys {

namespace {

constexpr off_t kWriterByte = std::numeric_limits<off_t>::max() - 1;
constexpr off_t kReaderByte = std::numeric_limits<off_t>::max() - 2;

struct flock lockOf(short type, off_t at) {
    struct flock l {};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    l.l_start = at;
    l.l_len = 1;
    return l;
}

// Takes the share lock `mine` and checks that no handle holds `theirs`.
bool share(int fd, off_t mine, off_t theirs) {
    struct flock own = lockOf(F_RDLCK, mine);
    if (::fcntl(fd, F_OFD_SETLK, &own) != 0) return false;
    struct flock probe = lockOf(F_WRLCK, theirs);
    if (::fcntl(fd, F_OFD_GETLK, &probe) != 0) return false;
    if (probe.l_type != F_UNLCK) {
        errno = EBUSY;
        return false;
    }
    return true;
}

std::int32_t open(const String& name, int flags, off_t mine, off_t theirs) {
    const std::optional<std::string> system = systemPathIfAny(name);
    if (name.empty() || !system) {
        errno = ENOENT;
        return kNoHandle;
    }
    const std::string& path = *system;
    struct stat st {};
    if ((flags & O_ACCMODE) == O_RDWR && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        (st.st_mode & 0222) == 0) {
        errno = EACCES;
        return kNoHandle;
    }
    UniqueFd fd(::open(path.c_str(), flags | O_CLOEXEC, 0666));
    if (!fd) return kNoHandle;
    if (::fstat(fd.get(), &st) == 0 && S_ISDIR(st.st_mode)) {
        fd.reset();
        errno = EISDIR;
        return kNoHandle;
    }
    if (!share(fd.get(), mine, theirs)) {
        const int e = errno;
        fd.reset();
        errno = e;
        return kNoHandle;
    }
    return fd.release();
}

struct timespec toTimespec(const qx::FILETIME& t) {
    struct timespec ts {};
    if (t.dwLowDateTime == 0 && t.dwHighDateTime == 0) {
        ts.tv_nsec = UTIME_OMIT;  // a time of 0 is left as it is
        return ts;
    }
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
    unixFromFileTime(t, seconds, nanoseconds);
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = nanoseconds;
    return ts;
}

}  // namespace

std::int32_t openReadWrite(const String& name) { return open(name, O_RDWR | O_CREAT, kWriterByte, kReaderByte); }

std::int32_t openReadOnly(const String& name) { return open(name, O_RDONLY, kReaderByte, kWriterByte); }

bool closeFile(std::int32_t handle) { return ::close(handle) == 0; }

bool fileSize(std::int32_t handle, std::uint32_t& low, std::uint32_t& high) {
    struct stat st {};
    if (::fstat(handle, &st) != 0) return false;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    low = static_cast<std::uint32_t>(size);
    high = static_cast<std::uint32_t>(size >> 32);
    return true;
}

std::size_t readFile(std::int32_t handle, std::uint8_t* data, std::size_t count) {
    return transferAll(count, [&](std::size_t done, std::size_t left) {
        return retryOnEintr([&] { return ::read(handle, data + done, left); });
    });
}

std::size_t writeFile(std::int32_t handle, const std::uint8_t* data, std::size_t count) {
    return transferAll(count, [&](std::size_t done, std::size_t left) {
        return retryOnEintr([&] { return ::write(handle, data + done, left); });
    });
}

bool flushFile(std::int32_t handle) { return ::fsync(handle) == 0; }

std::uint32_t setFilePointer(std::int32_t handle, std::int32_t low, std::int32_t* high, SeekFrom from) {
    std::int64_t distance = low;
    if (high) distance = static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(*high)) << 32) |
                                                   static_cast<std::uint32_t>(low));
    const off_t at = ::lseek(handle, static_cast<off_t>(distance), from == SeekFrom::Begin ? SEEK_SET : SEEK_CUR);
    if (at < 0) return 0xFFFFFFFFu;
    const auto position = static_cast<std::uint64_t>(at);
    if (high) *high = static_cast<std::int32_t>(position >> 32);
    const auto result = static_cast<std::uint32_t>(position);
    if (result == 0xFFFFFFFFu) errno = 0;
    return result;
}

bool getFileTimes(std::int32_t handle, FileDateTimeInfo& times) {
    struct statx sx {};
    if (::statx(handle, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) return false;
    // Where the file system keeps no birth time, the last status change stands in for it.
    const struct statx_timestamp& born = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_ctime;
    times.ctime = fileTimeFromUnix(born.tv_sec, static_cast<std::int32_t>(born.tv_nsec));
    times.atime = fileTimeFromUnix(sx.stx_atime.tv_sec, static_cast<std::int32_t>(sx.stx_atime.tv_nsec));
    times.wtime = fileTimeFromUnix(sx.stx_mtime.tv_sec, static_cast<std::int32_t>(sx.stx_mtime.tv_nsec));
    return true;
}

bool setFileTimes(std::int32_t handle, const FileDateTimeInfo& times) {
    // Setting times needs write access to the handle, as on Windows.
    const int flags = ::fcntl(handle, F_GETFL);
    if (flags < 0) return false;
    if ((flags & O_ACCMODE) == O_RDONLY) {
        errno = EACCES;
        return false;
    }
    // The creation time cannot be set: the system keeps the birth time itself.
    const struct timespec ts[2] = {toTimespec(times.atime), toTimespec(times.wtime)};
    return ::futimens(handle, ts) == 0;
}

std::uint32_t lastError() { return static_cast<std::uint32_t>(errno); }

String systemMessage(std::uint32_t code) {
    char buffer[256] = {};
    // The GNU strerror_r answers a pointer that need not be the buffer.
    const char* text = ::strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    return text ? fromNarrow(text) : String();
}

}  // namespace qx::files::sys

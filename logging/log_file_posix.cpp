// POSIX: a log file is opened with O_APPEND for each entry, so that every
// write lands at the end of the file as it is at that moment; the entry goes
// out in one write call, which the kernel does not interleave with another
// process's append to the same file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/error.h"
#include "core/file_errors.h"
#include "core/scoped_posix.h"
#include "logging/log_file.h"

namespace qx::logging {

namespace {

int openOrRaise(const String& path, int flags) {
    const std::string p = toNarrow(path);
    // The system would stop reading the name at a NUL and open another file.
    if (p.find('\0') != std::string::npos) raise(err::BadFileNameOrNumber);
    const int fd = retryOnEintr([&] { return ::open(p.c_str(), flags | O_CLOEXEC, 0666); });
    if (fd < 0) raise(fileErrorFromErrno(errno, FileOp::Create));
    return fd;
}

// One write call for the block; a short count (a full disk, a signal) is
// finished with further writes, which only happens when the first one could
// not take it all.
void writeBlock(int fd, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = retryOnEintr([&] { return ::write(fd, data, left); });
        if (n < 0) raise(fileErrorFromErrno(errno, FileOp::Create));
        if (n == 0) raise(err::DiskFull);
        data += n;
        left -= static_cast<std::size_t>(n);
    }
}

}  // namespace

void appendBlock(const String& path, const std::string& bytes) {
    UniqueFd fd(openOrRaise(path, O_WRONLY | O_APPEND | O_CREAT));
    writeBlock(fd.get(), bytes);
    if (!fd.close() && errno != EINTR) raise(fileErrorFromErrno(errno, FileOp::Create));
}

void replaceFile(const String& path, const std::function<std::string()>& content) {
    UniqueFd fd(openOrRaise(path, O_WRONLY | O_TRUNC | O_CREAT));
    writeBlock(fd.get(), content());
    if (!fd.close() && errno != EINTR) raise(fileErrorFromErrno(errno, FileOp::Create));
}

}  // namespace qx::logging

// Without a version library the file itself is read: the PE parser walks it
// through positioned reads of an open descriptor, so only the few headers and
// the resource it needs are read, whatever the file's size.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/scoped_posix.h"
#include "sysinfo/pe_resource.h"
#include "sysinfo/version_info_sys.h"

namespace qx::sysinfo::sys {

bool readFixedFileInfo(const String& path, FixedFileInfo& out) {
    if (path.empty()) return false;
    const std::string name = toNarrow(path);
    // Without O_NONBLOCK a FIFO named by the caller would block the open.
    UniqueFd file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0) return false;
    struct stat st {};
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    const int fd = file.get();
    const ByteSource source = [fd, fileSize](std::uint64_t offset, std::size_t length, std::uint8_t* dest) {
        if (offset > fileSize || length > fileSize - offset) return false;
        std::size_t done = 0;
        while (done < length) {
            const ssize_t n = retryOnEintr(
                [&] { return ::pread(fd, dest + done, length - done, static_cast<off_t>(offset + done)); });
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    };
    return sysinfo::readFixedFileInfo(source, out);
}

}  // namespace qx::sysinfo::sys

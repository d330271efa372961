// The POSIX resources owned through qx::Scoped.
#pragma once

#include <unistd.h>

#include "core/scoped.h"

namespace qx {

struct FdTraits {
    using Value = int;
    static int none() noexcept { return -1; }
    static bool valid(int fd) noexcept { return fd >= 0; }
    // Not retried on EINTR: the descriptor is released whatever close returns,
    // and a second close could close another thread's new descriptor.
    static bool close(int fd) noexcept { return ::close(fd) == 0; }
};

// An open file descriptor; -1 owns nothing.
using UniqueFd = Scoped<FdTraits>;

}  // namespace qx

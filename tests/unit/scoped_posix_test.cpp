// The descriptor owner on real descriptors.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/scoped_posix.h"

TEST(UniqueFd, ClosesTheDescriptorItOwnsAndReportsAFailedClose) {
    auto isOpen = [](int fd) { return ::fcntl(fd, F_GETFD) != -1; };
    int fd = -1;
    {
        const qx::UniqueFd owned(::open("/dev/null", O_RDONLY | O_CLOEXEC));
        fd = owned.get();
        EXPECT_TRUE(isOpen(fd));
    }
    EXPECT_FALSE(isOpen(fd));
    // Already closed behind the owner's back: the close itself fails.
    qx::UniqueFd stale(fd);
    EXPECT_FALSE(stale.close());
    EXPECT_EQ(errno, EBADF);
}

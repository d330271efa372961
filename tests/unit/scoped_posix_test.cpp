// The descriptor owner on real descriptors.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/scoped_posix.h"

namespace {
bool isOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF; }
}  // namespace

TEST(UniqueFd, ClosesTheDescriptorItOwns) {
    int fd = -1;
    {
        const qx::UniqueFd owned(::open("/dev/null", O_RDONLY | O_CLOEXEC));
        ASSERT_TRUE(owned);
        fd = owned.get();
        EXPECT_TRUE(isOpen(fd));
    }
    EXPECT_FALSE(isOpen(fd));
}

TEST(UniqueFd, ReleasedDescriptorStaysOpenAndCloseReportsFailure) {
    qx::UniqueFd owned(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    const int fd = owned.release();
    EXPECT_FALSE(owned);
    EXPECT_TRUE(isOpen(fd));
    EXPECT_EQ(::close(fd), 0);
    // Already closed behind the owner's back: the close itself fails.
    qx::UniqueFd stale(fd);
    EXPECT_FALSE(stale.close());
    EXPECT_EQ(errno, EBADF);
    EXPECT_FALSE(qx::UniqueFd().valid());
}

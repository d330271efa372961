// The resource owner and the retry of interrupted calls, on a pretend
// resource whose closes are recorded.
#include <gtest/gtest.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "core/scoped.h"

namespace {
std::vector<int> g_closed;

struct FakeTraits {
    using Value = int;
    static int none() { return 0; }
    static bool valid(int v) { return v > 0; }
    static bool close(int v) {
        g_closed.push_back(v);
        return v != 9;  // the close of 9 fails
    }
};
}  // namespace

TEST(Scoped, EachResourceIsClosedExactlyOnceWhateverHandsItOn) {
    {
        const qx::Scoped<FakeTraits> invalid(-3);  // not a resource: never given back
        qx::Scoped<FakeTraits> a(1);
        qx::Scoped<FakeTraits> b(std::move(a));
        qx::Scoped<FakeTraits> c(2);
        c = std::move(b);  // 2 is closed, 1 moves on
        EXPECT_EQ(c.release(), 1);
        c.reset(5);
        *c.put() = 9;  // 5 is given back before the new one comes in
        EXPECT_FALSE(c.close()) << "a close reports its own failure";
        EXPECT_TRUE(c.close()) << "owning nothing is no failure";
        c.reset(7);
    }
    EXPECT_EQ(g_closed, (std::vector<int>{2, 5, 9, 7}));
}

TEST(RetryOnEintr, RetriesOnlyInterruptedFailures) {
    for (const int error : {EINTR, EBADF}) {
        int calls = 0;
        const int result = qx::retryOnEintr([&] {
            errno = error;
            return ++calls < 3 ? -1 : 42;
        });
        EXPECT_EQ(result, error == EINTR ? 42 : -1);
        EXPECT_EQ(calls, error == EINTR ? 3 : 1);
    }
    // A success with errno left at EINTR by an earlier call is a success.
    errno = EINTR;
    EXPECT_EQ(qx::retryOnEintr([] { return 0; }), 0);
}

// The resource owner and the retry of interrupted calls, on a pretend
// resource whose closes are recorded.
#include <gtest/gtest.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "core/scoped.h"

namespace {

std::vector<int> g_closed;
bool g_closeFails = false;

struct FakeTraits {
    using Value = int;
    static int none() { return 0; }
    static bool valid(int v) { return v > 0; }
    static bool close(int v) {
        g_closed.push_back(v);
        return !g_closeFails;
    }
};
using Fake = qx::Scoped<FakeTraits>;

class ScopedTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_closed.clear();
        g_closeFails = false;
    }
};

}  // namespace

TEST_F(ScopedTest, ClosesWhatItOwnsExactlyOnce) {
    {
        const Fake a(7);
        const Fake none;
        const Fake invalid(-3);  // not a resource: never given back
        EXPECT_TRUE(a.valid());
        EXPECT_FALSE(none.valid());
        EXPECT_FALSE(invalid);
    }
    EXPECT_EQ(g_closed, std::vector<int>{7});
}

TEST_F(ScopedTest, MovesHandOverOwnership) {
    {
        Fake a(1);
        Fake b(std::move(a));
        EXPECT_FALSE(a.valid());
        EXPECT_EQ(b.get(), 1);
        Fake c(2);
        c = std::move(b);  // 2 is closed, 1 moves on
        EXPECT_EQ(g_closed, std::vector<int>{2});
        EXPECT_EQ(c.get(), 1);
    }
    EXPECT_EQ(g_closed, (std::vector<int>{2, 1}));
}

TEST_F(ScopedTest, ReleaseResetCloseAndPut) {
    Fake a(4);
    EXPECT_EQ(a.release(), 4);
    EXPECT_FALSE(a.valid());
    a.reset(5);
    a.reset(6);
    EXPECT_EQ(g_closed, std::vector<int>{5});
    g_closeFails = true;
    EXPECT_FALSE(a.close());  // the close's own failure is reported
    EXPECT_FALSE(a.valid());
    EXPECT_TRUE(a.close());  // nothing left to close
    g_closeFails = false;
    a.reset(8);
    *a.put() = 9;  // 8 is given back before the new one comes in
    EXPECT_EQ(a.get(), 9);
    EXPECT_EQ(g_closed, (std::vector<int>{5, 6, 8}));
}

TEST(RetryOnEintr, RetriesOnlyInterruptedFailures) {
    int calls = 0;
    const int interruptedTwice = qx::retryOnEintr([&] {
        ++calls;
        errno = EINTR;
        return calls < 3 ? -1 : 42;
    });
    EXPECT_EQ(interruptedTwice, 42);
    EXPECT_EQ(calls, 3);

    calls = 0;
    const long failed = qx::retryOnEintr([&] {
        ++calls;
        errno = EBADF;
        return -1L;
    });
    EXPECT_EQ(failed, -1L);
    EXPECT_EQ(errno, EBADF);
    EXPECT_EQ(calls, 1);

    // A success with errno left at EINTR by an earlier call is a success.
    calls = 0;
    errno = EINTR;
    EXPECT_EQ(qx::retryOnEintr([&] { return ++calls; }), 1);
}

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

}  // namespace

TEST(Scoped, EachResourceIsClosedExactlyOnceWhateverHandsItOn) {
    g_closed.clear();
    {
        const Fake invalid(-3);  // not a resource: never given back
        Fake a(1);
        Fake b(std::move(a));
        Fake c(2);
        c = std::move(b);  // 2 is closed, 1 moves on
        EXPECT_EQ(g_closed, std::vector<int>{2});
        EXPECT_EQ(c.release(), 1);
        c.reset(5);
        c.reset(6);
        *c.put() = 9;  // 6 is given back before the new one comes in
        EXPECT_EQ(c.get(), 9);
        EXPECT_EQ(g_closed, (std::vector<int>{2, 5, 6}));
        // A close reports its own failure, and owning nothing is no failure.
        g_closeFails = true;
        EXPECT_FALSE(c.close());
        EXPECT_TRUE(c.close());
        g_closeFails = false;
        c.reset(7);
    }
    EXPECT_EQ(g_closed, (std::vector<int>{2, 5, 6, 9, 7}));
}

TEST(RetryOnEintr, RetriesOnlyInterruptedFailures) {
    int calls = 0;
    // Fails with `error` until its third call.
    auto failing = [&calls](int error) {
        return [&calls, error] {
            errno = error;
            return ++calls < 3 ? -1 : 42;
        };
    };
    EXPECT_EQ(qx::retryOnEintr(failing(EINTR)), 42);
    EXPECT_EQ(calls, 3);
    calls = 0;
    EXPECT_EQ(qx::retryOnEintr(failing(EBADF)), -1);
    EXPECT_EQ(calls, 1);
    // A success with errno left at EINTR by an earlier call is a success.
    calls = 0;
    errno = EINTR;
    EXPECT_EQ(qx::retryOnEintr([&] { return ++calls; }), 1);
}

// The resource owner, on a pretend resource whose closes are recorded.
#include <gtest/gtest.h>

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

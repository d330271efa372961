// GetVersion: the host object's numbers, read at each call, and the version
// type's suffix; only a release lets pending messages run.
#include <gtest/gtest.h>

#include "core/clsQXGenRtns.h"
#include "core/hostapp.h"
#include "core/screen.h"
#include "test_support.h"

TEST(GetVersion, ReadsTheHostObjectAtEachCall) {
    qxtest::runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        const qx::ObjectRef host = qx::host::makeApp(u"MyApp", u"/opt/myapp", u"My App", u"Acme", 2, 5, -3);
        lib.InitializeDll(qx::Variant(host), qx::Trial);
        int pumped = 0;
        qx::setMessagePump([&pumped] { ++pumped; });
        EXPECT_EQ(lib.GetVersion(), u"Version 2.5  Build -3  Trial");
        EXPECT_EQ(lib.VersionTypeString(), u"Release");
        EXPECT_EQ(pumped, 0);
        lib.VersionType(qx::Release);
        EXPECT_EQ(lib.GetVersion(), u"Version 2.5  Build -3");
        EXPECT_EQ(pumped, 1);
        qx::setMessagePump({});
    });
}

// The per-thread library state: what InitializeDll stores (once), what a
// failing initialisation leaves behind, and how instances and threads share
// or separate the record.
#include <gtest/gtest.h>

#include <memory>

#include "core/clsQXGenRtns.h"
#include "core/hostapp.h"
#include "core/state.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::Variant;
using qxtest::runOnFreshThread;

namespace {
qx::ObjectRef app(const qx::String& exeName, std::int16_t major = 1) {
    return qx::host::makeApp(exeName, u"/opt/app", u"Title", u"Acme", major, 0, 0);
}
}  // namespace

TEST(InitializeDll, OnlyTheFirstCallCountsEvenWhenItFails) {
    const qxtest::UserFoldersInTempFolder user;  // the folders it creates land in the test's own
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        lib.VersionType(qx::Beta);
        const qx::String path = lib.InitializeDll(Variant(app(u"First", 3)), 0);
        EXPECT_EQ(path.substr(path.size() - 9), u"First.ini");
        EXPECT_EQ(lib.InitializeDll(Variant(app(u"Second", 9)), qx::Shareware), path);
        EXPECT_EQ(lib.VersionType(), qx::Release) << "zero is Release, in place of the property";
        EXPECT_EQ(lib.GetVersion(), u"Version 3.0  Build 0");
    });
    // Text in place of the host object: 13; the steps before it stay done and are not retried.
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        EXPECT_RAISES(qx::err::TypeMismatch, lib.InitializeDll(Variant(u"MyApp"), qx::Demo));
        EXPECT_EQ(lib.InitializeDll(Variant(app(u"Good")), qx::Beta), u"");
        EXPECT_EQ(lib.VersionType(), qx::Demo);
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.GetVersion());
    });
}

TEST(LibraryState, InstancesOnOneThreadShareItThreadsNeverAndItEndsWithItsThread) {
    const qxtest::UserFoldersInTempFolder user;
    std::weak_ptr<qx::Object> host;
    runOnFreshThread([&] {
        qx::clsQXGenRtns a;
        {
            qx::clsQXGenRtns b;
            a.AppCancel(true);
            EXPECT_TRUE(b.AppCancel());
            b.InitializeDll(Variant(app(u"ViaB")), qx::Beta);
        }
        // Destroying an instance resets nothing; the state outlives it.
        EXPECT_TRUE(a.AppCancel());
        EXPECT_EQ(a.VersionType(), qx::Beta);
        // A second thread, started while this one holds its state, begins from zero.
        runOnFreshThread([] {
            qx::clsQXGenRtns second;
            EXPECT_EQ(second.VersionType(), 0);
            EXPECT_FALSE(second.AppCancel());
            second.VersionType(qx::Demo);
        });
        EXPECT_EQ(a.VersionType(), qx::Beta);
        host = qx::state().HostApp;
        ASSERT_FALSE(host.expired()) << "the record holds the host object";
    });
    EXPECT_TRUE(host.expired()) << "the thread's record was destroyed with the thread, and the object released";
}

// The per-thread library state: what InitializeDll stores (once, even when it
// fails), and how instances and threads share or separate the record.
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
qx::ObjectRef app(const qx::String& exeName) {
    return qx::host::makeApp(exeName, u"/opt/app", u"Title", u"Acme", 3, 0, 0);
}
}  // namespace

TEST(LibraryState, OnlyTheFirstInitialisationCountsAndTheRecordIsPerThread) {
    const qxtest::UserFoldersInTempFolder user;  // the folders it creates land in the test's own
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        lib.VersionType(qx::Beta);
        const qx::String path = lib.InitializeDll(Variant(app(u"First")), 0);
        EXPECT_EQ(lib.InitializeDll(Variant(app(u"Second")), qx::Shareware), path);
        EXPECT_EQ(lib.VersionType(), qx::Release) << "zero is Release, in place of the property";
    });
    // Text in place of the host object: 13; the steps before it stay done and are not retried.
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        EXPECT_RAISES(qx::err::TypeMismatch, lib.InitializeDll(Variant(u"MyApp"), qx::Demo));
        EXPECT_EQ(lib.InitializeDll(Variant(app(u"Good")), qx::Beta), u"");
        EXPECT_EQ(lib.VersionType(), qx::Demo);
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.GetVersion());
    });
    // Instances on one thread share the record, threads never; it ends with its thread.
    std::weak_ptr<qx::Object> host;
    runOnFreshThread([&] {
        qx::clsQXGenRtns a;
        qx::clsQXGenRtns().InitializeDll(Variant(app(u"ViaB")), qx::Beta);
        EXPECT_EQ(a.VersionType(), qx::Beta) << "an instance's end resets nothing";
        // A second thread, started while this one holds its state, begins from zero.
        runOnFreshThread([] { EXPECT_EQ(qx::clsQXGenRtns().VersionType(), 0); });
        host = qx::state().HostApp;
        ASSERT_FALSE(host.expired()) << "the record holds the host object";
    });
    EXPECT_TRUE(host.expired()) << "the thread's record was destroyed with the thread, and the object released";
}

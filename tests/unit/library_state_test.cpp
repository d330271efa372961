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
    // Text in place of the host object: 13, and the steps before it stay done.
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        EXPECT_RAISES(qx::err::TypeMismatch, lib.InitializeDll(Variant(u"MyApp"), qx::Demo));
        EXPECT_EQ(lib.InitializeDll(Variant(app(u"Good")), qx::Beta), u"");
        EXPECT_EQ(lib.VersionType(), qx::Demo);
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.GetVersion());
    });
    // A host without EXEName: 438; the object stored before that step is the one GetVersion reads.
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        auto noExeName = qx::MemoryObject::create(u"App");
        noExeName->prop(u"Major", std::int16_t{4}).prop(u"Minor", std::int16_t{2}).prop(u"Revision", std::int16_t{1});
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.InitializeDll(Variant(qx::ObjectRef(noExeName)), qx::Beta));
        EXPECT_EQ(lib.InitializeDll(Variant(app(u"Good")), qx::Release), u"");
        EXPECT_EQ(lib.GetVersion(), u"Version 4.2  Build 1  Beta");
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

// The per-thread library state: what InitializeDll stores (once), what a
// failing initialisation leaves behind, and how instances and threads share
// or separate the record.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/hostapp.h"
#include "core/object.h"
#include "core/state.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qx::Variant;
using qxtest::runOnFreshThread;

namespace {
qx::ObjectRef app(const String& exeName, std::int16_t major = 1) {
    return qx::host::makeApp(exeName, u"/opt/app", u"Title", u"Acme", major, 0, 0);
}
}  // namespace

TEST(InitializeDll, VersionTypeArgumentReplacesPropertyAndZeroMeansRelease) {
    const qxtest::UserFoldersInTempFolder user;  // the folders it creates land in the test's own
    for (const std::int16_t given : {std::int16_t{0}, std::int16_t{7}}) {
        runOnFreshThread([given] {
            qx::clsQXGenRtns lib;
            lib.VersionType(qx::Beta);
            lib.InitializeDll(Variant(app(u"A")), given);
            EXPECT_EQ(lib.VersionType(), given == 0 ? std::int16_t{qx::Release} : given);
        });
    }
}

TEST(InitializeDll, SecondCallReturnsFirstResultAndChangesNothing) {
    const qxtest::UserFoldersInTempFolder user;
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        const String path = lib.InitializeDll(Variant(app(u"First", 1)), qx::Demo);
        EXPECT_EQ(path.substr(path.size() - 9), u"First.ini");
        EXPECT_EQ(lib.InitializeDll(Variant(app(u"Second", 9)), qx::Shareware), path);
        EXPECT_EQ(lib.InitializeDll(Variant(u"not an object"), 0), path);
        EXPECT_EQ(lib.GetVersion(), u"Version 1.0  Build 0  Demo");
    });
}

TEST(InitializeDll, FailedFirstCallIsNotRetried) {
    const qxtest::UserFoldersInTempFolder user;
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
        int exeNameReads = 0;
        auto good = qx::MemoryObject::create(u"App");
        good->method(u"EXEName", [&](const std::vector<Variant>&) {
            ++exeNameReads;
            return Variant(u"Good");
        });
        EXPECT_EQ(lib.InitializeDll(Variant(qx::ObjectRef(good)), qx::Release), u"");
        EXPECT_EQ(exeNameReads, 0);
        EXPECT_EQ(lib.GetVersion(), u"Version 4.2  Build 1  Beta");
    });
}

TEST(LibraryState, InstancesOnOneThreadShareItAndThreadsNever) {
    const qxtest::UserFoldersInTempFolder user;
    runOnFreshThread([] {
        qx::clsQXGenRtns a;
        String path;
        {
            qx::clsQXGenRtns b;
            a.AppCancel(true);
            EXPECT_TRUE(b.AppCancel());
            path = b.InitializeDll(Variant(app(u"ViaB")), qx::Beta);
        }
        // Destroying an instance resets nothing; the state outlives it.
        EXPECT_TRUE(a.AppCancel());
        EXPECT_EQ(a.InitializeDll(Variant(app(u"ViaA")), qx::Demo), path);
        EXPECT_EQ(a.VersionType(), qx::Beta);
        // A second thread, started while this one holds its state, begins from zero.
        runOnFreshThread([] {
            qx::clsQXGenRtns second;
            EXPECT_EQ(second.VersionType(), 0);
            EXPECT_FALSE(second.AppCancel());
            second.InitializeDll(Variant(app(u"Second")), 0);
            second.AppCancel(false);
        });
        EXPECT_EQ(a.VersionType(), qx::Beta);
        EXPECT_TRUE(a.AppCancel());
    });
}

TEST(LibraryState, EndsWithItsThreadAndReleasesWhatItHolds) {
    std::weak_ptr<qx::Object> host;
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(app(u"Ends")), qx::Beta);
        host = qx::state().HostApp;
        ASSERT_FALSE(host.expired()) << "the record holds the host object";
    });
    EXPECT_TRUE(host.expired()) << "the thread's record was destroyed with the thread, and the object released";
}

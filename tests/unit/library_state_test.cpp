// The per-thread library state: what InitializeDll stores (once), what the
// properties store, what a failing initialisation leaves behind, and how
// instances and threads share or separate the record.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

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

TEST(FreshThread, StartsFromZeroedStateAndReportsFailures) {
    qx::state().VersionType = 1234;  // this thread's record, not the helper's
    runOnFreshThread([] {
        const qx::LibraryState& st = qx::state();
        EXPECT_FALSE(st.Initialized);
        EXPECT_EQ(st.VersionType, 0);
        EXPECT_EQ(st.HostApp, nullptr);
        EXPECT_EQ(st.SavedControls, nullptr);
    });
    qx::state().VersionType = 0;

    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(runOnFreshThread([] { ADD_FAILURE() << "seen by the test"; }),
                                           "seen by the test");
    EXPECT_THROW(runOnFreshThread([] { qx::raise(qx::err::Overflow); }), qx::RuntimeError);
}

TEST(VersionTypeProperty, StoresAny16BitValue) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        for (const std::int16_t v : {std::int16_t{7}, std::int16_t{-1}, std::int16_t{32767}, std::int16_t{-32768}}) {
            lib.VersionType(v);
            EXPECT_EQ(lib.VersionType(), v);
        }
        // The property does not touch the text that GetVersion leaves.
        EXPECT_EQ(lib.VersionTypeString(), u"");
    });
}

TEST(InitializeDll, VersionTypeArgumentReplacesPropertyAndZeroMeansRelease) {
    const qxtest::UserFoldersInTempFolder user;  // the folders it creates land in the test's own
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        lib.VersionType(qx::Beta);
        lib.InitializeDll(Variant(app(u"A")), 0);
        EXPECT_EQ(lib.VersionType(), qx::Release);
        // After initialisation the property changes it freely again.
        lib.VersionType(-5);
        EXPECT_EQ(lib.VersionType(), -5);
    });
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        lib.VersionType(qx::Beta);
        lib.InitializeDll(Variant(app(u"A")), 7);
        EXPECT_EQ(lib.VersionType(), 7);
    });
}

TEST(InitializeDll, SecondCallReturnsFirstResultAndChangesNothing) {
    const qxtest::UserFoldersInTempFolder user;  // the folders it creates land in the test's own
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        const qx::ObjectRef first = app(u"First", 1);
        const String path = lib.InitializeDll(Variant(first), qx::Demo);
        // The INI file is named after the host's EXEName, in its local data folder.
        ASSERT_GT(path.size(), 9u);
        EXPECT_EQ(path.substr(path.size() - 9), u"First.ini");
        const qx::LibraryState& st = qx::state();
        EXPECT_TRUE(st.Initialized);
        EXPECT_EQ(st.HostApp, first);
        EXPECT_EQ(st.HostExeName, u"First");
        EXPECT_EQ(st.Skin.ButtonColor, 0x804000);
        EXPECT_EQ(st.Skin.BackgroundColor, 0xC08000);

        qx::state().Skin.ButtonColor = 0x123456;  // as a later skin would
        EXPECT_EQ(lib.InitializeDll(Variant(app(u"Second", 9)), qx::Shareware), path);
        EXPECT_EQ(lib.InitializeDll(Variant(u"not an object"), 0), path);
        EXPECT_EQ(st.HostApp, first);
        EXPECT_EQ(st.HostExeName, u"First");
        EXPECT_EQ(lib.VersionType(), qx::Demo);
        EXPECT_EQ(st.Skin.ButtonColor, 0x123456);
        EXPECT_EQ(lib.GetVersion(), u"Version 1.0  Build 0  Demo");
    });
}

TEST(InitializeDll, AppDataWithoutObjectRaises13ThenReturnsStoredPath) {
    const qxtest::UserFoldersInTempFolder user;  // the folders it creates land in the test's own
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        EXPECT_RAISES(qx::err::TypeMismatch, lib.InitializeDll(Variant(u"MyApp"), qx::Demo));
        // The steps before the failure stay done.
        EXPECT_TRUE(qx::state().Initialized);
        EXPECT_EQ(lib.VersionType(), qx::Demo);

        EXPECT_EQ(lib.InitializeDll(Variant(app(u"Good")), qx::Beta), u"");
        EXPECT_EQ(qx::state().HostApp, nullptr);
        EXPECT_EQ(lib.VersionType(), qx::Demo);
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.GetVersion());
    });
}

TEST(InitializeDll, HostWithoutExeNameRaises438AndIsNotRetried) {
    const qxtest::UserFoldersInTempFolder user;  // the folders it creates land in the test's own
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
        EXPECT_EQ(qx::state().HostExeName, u"");
        // The object stored before the failing step is the one GetVersion reads.
        EXPECT_EQ(lib.GetVersion(), u"Version 4.2  Build 1  Beta");
    });
}

TEST(LibraryState, InstancesOnOneThreadShareIt) {
    const qxtest::UserFoldersInTempFolder user;  // the folders InitializeDll creates land in the test's own
    runOnFreshThread([] {
        qx::clsQXGenRtns a;
        String path;
        {
            qx::clsQXGenRtns b;
            b.VersionType(42);
            EXPECT_EQ(a.VersionType(), 42);
            a.AppCancel(true);
            EXPECT_TRUE(b.AppCancel());
            path = b.InitializeDll(Variant(app(u"ViaB")), qx::Beta);
        }
        // Destroying an instance resets nothing; the state outlives it.
        EXPECT_TRUE(a.AppCancel());
        EXPECT_EQ(a.InitializeDll(Variant(app(u"ViaA")), qx::Demo), path);
        EXPECT_EQ(qx::state().HostExeName, u"ViaB");
        EXPECT_EQ(a.VersionType(), qx::Beta);
        qx::clsQXGenRtns c;
        EXPECT_TRUE(c.AppCancel());
        c.AppCancel(false);
        EXPECT_FALSE(a.AppCancel());
    });
}

TEST(LibraryState, ThreadsNeverShareIt) {
    const qxtest::UserFoldersInTempFolder user;  // the folders InitializeDll creates land in the test's own
    runOnFreshThread([] {
        qx::clsQXGenRtns first;
        first.InitializeDll(Variant(app(u"First")), qx::Beta);
        first.AppCancel(true);
        // A second thread, started while the first one holds its state, begins from zero.
        runOnFreshThread([] {
            qx::clsQXGenRtns second;
            EXPECT_FALSE(qx::state().Initialized);
            EXPECT_EQ(second.VersionType(), 0);
            EXPECT_FALSE(second.AppCancel());
            second.InitializeDll(Variant(app(u"Second")), 0);
            second.VersionType(99);
            EXPECT_EQ(qx::state().HostExeName, u"Second");
        });
        EXPECT_TRUE(qx::state().Initialized);
        EXPECT_EQ(first.VersionType(), qx::Beta);
        EXPECT_TRUE(first.AppCancel());
        EXPECT_EQ(qx::state().HostExeName, u"First");
    });
}

TEST(LibraryState, EndsWithItsThreadAndReleasesWhatItHolds) {
    std::weak_ptr<qx::SavedControlCollection> saved;
    std::weak_ptr<qx::Object> host;
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(app(u"Ends")), qx::Beta);
        host = qx::state().HostApp;
        ASSERT_FALSE(host.expired()) << "the record holds the host object";
        qx::state().SavedControls = std::make_shared<qx::SavedControlCollection>();
        saved = qx::state().SavedControls;
    });
    EXPECT_TRUE(saved.expired()) << "the thread's record was destroyed when the thread ended";
    EXPECT_TRUE(host.expired()) << "and the host object it held was released";
}

TEST(LibraryState, EachInstanceReplacesAndReleasesSavedControls) {
    runOnFreshThread([] {
        auto& saved = qx::state().SavedControls;
        EXPECT_EQ(saved, nullptr);
        auto a = std::make_unique<qx::clsQXGenRtns>();
        ASSERT_NE(saved, nullptr);
        EXPECT_TRUE(saved->empty());
        (*saved)[u"frmMain0"] = {true, false};
        const auto fromA = saved;

        auto b = std::make_unique<qx::clsQXGenRtns>();
        ASSERT_NE(saved, nullptr);
        EXPECT_NE(saved, fromA);
        EXPECT_TRUE(saved->empty());

        // Destroying any instance releases the collection, whoever created it.
        a.reset();
        EXPECT_EQ(saved, nullptr);
        b.reset();
        EXPECT_EQ(saved, nullptr);
    });
}

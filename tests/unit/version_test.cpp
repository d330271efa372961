// The version text: "Version M.m  Build r" with the suffix of the version
// type, and the VersionTypeString it leaves behind.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/hostapp.h"
#include "core/screen.h"
#include "core/state.h"
#include "test_support.h"

using qx::String;
using qxtest::runOnFreshThread;

namespace {
// Counts the message-pump runs for the life of the guard, then restores the platform pump.
class PumpCounter {
public:
    PumpCounter() {
        qx::setMessagePump([this] { ++runs; });
    }
    ~PumpCounter() { qx::setMessagePump({}); }
    int runs = 0;
};

qx::ObjectRef app(std::int16_t major, std::int16_t minor, std::int16_t revision) {
    return qx::host::makeApp(u"MyApp", u"/opt/myapp", u"My App", u"Acme", major, minor, revision);
}
}  // namespace

TEST(VersionText, SuffixAndTypeStringByVersionType) {
    struct Case {
        std::int16_t type;
        const char16_t* text;
        const char16_t* typeString;
    };
    const Case cases[] = {
        {1, u"Version 2.5  Build 117  Beta", u"Beta"},
        {2, u"Version 2.5  Build 117  Demo", u"Demo"},
        {3, u"Version 2.5  Build 117", u"Release"},
        {4, u"Version 2.5  Build 117  Trial", u"Release"},
        {5, u"Version 2.5  Build 117  Freeware", u"Release"},
        {6, u"Version 2.5  Build 117  Shareware", u"Release"},
    };
    for (const Case& c : cases) {
        String typeString = u"previous";
        EXPECT_EQ(qx::versionText(2, 5, 117, c.type, typeString), c.text) << "type " << c.type;
        EXPECT_EQ(typeString, c.typeString) << "type " << c.type;
    }
}

TEST(VersionText, TypeOutsideTheListAddsNothing) {
    for (const std::int16_t type : {std::int16_t{7}, std::int16_t{0}, std::int16_t{-1}, std::int16_t{-32768}}) {
        String typeString = u"Demo";
        EXPECT_EQ(qx::versionText(2, 5, 117, type, typeString), u"Version 2.5  Build 117") << "type " << type;
        EXPECT_EQ(typeString, u"Demo") << "type " << type;
    }
}

TEST(VersionText, NegativeNumbersCarryAMinus) {
    String typeString;
    EXPECT_EQ(qx::versionText(-1, 0, -32768, 2, typeString), u"Version -1.0  Build -32768  Demo");
    EXPECT_EQ(qx::versionText(32767, -7, 0, 3, typeString), u"Version 32767.-7  Build 0");
}

TEST(GetVersion, ReadsTheHostObjectAtEachCall) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        const qx::ObjectRef host = app(2, 5, 117);
        lib.InitializeDll(qx::Variant(host), qx::Demo);
        EXPECT_EQ(lib.GetVersion(), u"Version 2.5  Build 117  Demo");
        EXPECT_EQ(lib.VersionTypeString(), u"Demo");

        host->set(u"Revision", std::int16_t{-3});
        lib.VersionType(7);
        EXPECT_EQ(lib.GetVersion(), u"Version 2.5  Build -3");
        EXPECT_EQ(lib.VersionTypeString(), u"Demo");

        lib.VersionType(qx::Trial);
        EXPECT_EQ(lib.GetVersion(), u"Version 2.5  Build -3  Trial");
        EXPECT_EQ(lib.VersionTypeString(), u"Release");

        // A number that does not fit 16 bits fails the read with the overflow error.
        host->set(u"Major", std::int32_t{40000});
        EXPECT_RAISES(qx::err::Overflow, lib.GetVersion());
    });
}

TEST(GetVersion, OnlyReleaseLetsPendingMessagesRun) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(qx::Variant(app(1, 0, 0)), qx::Release);
        PumpCounter pump;
        EXPECT_EQ(lib.GetVersion(), u"Version 1.0  Build 0");
        EXPECT_EQ(pump.runs, 1);
        lib.VersionType(qx::Beta);
        lib.GetVersion();
        EXPECT_EQ(pump.runs, 1);
    });
}

TEST(GetVersion, WithoutHostObjectRaises91) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        lib.VersionType(qx::Demo);
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.GetVersion());
        EXPECT_EQ(lib.VersionTypeString(), u"");
    });
}

// The POSIX answers of the system queries, against the system's own tools.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include "core/clsQXGenRtns.h"

using namespace qx;

TEST(OsInfoPosix, VersionEndsWithTheKernelRelease) {
    struct utsname u {};
    ASSERT_EQ(::uname(&u), 0);
    clsQXGenRtns lib;
    const std::string text = toNarrow(lib.GetOSVersion());
    const std::string tail = std::string(" (") + u.release + ")";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_NE(text.find(" build "), std::string::npos);
    EXPECT_NE(text.rfind(" build ", 0), 0u) << "the distribution's name is missing: " << text;
}

TEST(OsInfoPosix, UserIsTheLoginNameOfThePasswordDatabase) {
    const struct passwd* pw = ::getpwuid(::getuid());
    ASSERT_NE(pw, nullptr);
    const std::string name = pw->pw_name;
    clsQXGenRtns lib;
    EXPECT_EQ(toNarrow(lib.WhoAmI()), name.size() <= 24 ? name : std::string());
}

TEST(OsInfoPosix, RootIsAnAdministrator) {
    clsQXGenRtns lib;
    if (::geteuid() != 0) GTEST_SKIP() << "not running as root";
    EXPECT_TRUE(lib.IsAdmin());
}

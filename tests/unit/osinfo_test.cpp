// The operating-system name table, the version text, the user-name buffer and
// the administrator decisions.
#include <gtest/gtest.h>

#include "sysinfo/osinfo.h"
#include "test_support.h"

using namespace qx;
using namespace qx::sysinfo;

TEST(OsInfo, VersionTextOfTheSystemsReport) {
    const auto text = [](std::uint32_t platform, std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                         const std::string& servicePack) {
        const VersionReport r{true, major, minor, build, platform, servicePack + std::string(128, '\0')};
        return formatOSVersion(versionDetails(r));
    };
    EXPECT_EQ(text(2, 5, 1, 2600, "Service Pack 3"), u"Windows XP 5.1 build 2600 (Service Pack 3)");
    // The 95 family keeps version numbers in the build's high word.
    EXPECT_EQ(text(1, 4, 10, 0x040A08AE, std::string("A\0junk", 6)), u"Windows 98 4.10 build 2222 (A)");
    EXPECT_EQ(text(2, 6, 1, 7601, std::string(128, 'x')), u"Windows NT 6.1 build 7601 ()");  // no NUL: no text
    EXPECT_EQ(formatOSVersion(versionDetails(VersionReport{})), u"  build  ()");  // the query failed
    EXPECT_EQ(osName(0, 3, 10), u"Win32s");
    EXPECT_EQ(osName(1, 4, 0), u"Windows 95");
    EXPECT_EQ(osName(1, 4, 90), u"Windows ME");
    EXPECT_EQ(osName(2, 5, 0), u"Windows 2000");
    EXPECT_EQ(osName(2, 6, 0), u"Windows NT");
    EXPECT_EQ(osName(2, 5, 2), u"Windows NT");
    EXPECT_EQ(osName(3, 5, 1), u"");
}

TEST(OsInfo, UserNameAndAdministrators) {
    EXPECT_EQ(userNameFromBuffer(std::string(24, 'u')), String(24, u'u'));
    EXPECT_EQ(userNameFromBuffer(std::string(25, 'u')), u"");
    // The administrators' group is looked for among the first 101 entries.
    std::vector<bool> groups(150, false);
    groups[100] = true;
    EXPECT_TRUE(administratorsAmong(groups));
    groups[100] = false;
    groups[120] = true;  // beyond the table: the walk fails before reaching it
    EXPECT_RAISES(9, administratorsAmong(groups));
    // On POSIX: root, or a member of an administrating group.
    EXPECT_TRUE(isAdministratorIdentity(0, {}));
    for (const char* group : {"sudo", "wheel", "admin"}) EXPECT_TRUE(isAdministratorIdentity(1000, {"users", group}));
    EXPECT_FALSE(isAdministratorIdentity(1000, {"users", "sudoers", "Wheel", "adm"}));
}

TEST(OsInfo, PosixVersionTextFromDistributionAndKernel) {
    const std::string release = "# c\nNAME=Debian\nPRETTY_NAME='Debian 12 (x)'\nVERSION=\"12 \\\"bookworm\\\"\"\n";
    EXPECT_EQ(osReleaseValue(release, "VERSION"), "12 \"bookworm\"");
    EXPECT_EQ(formatOSVersion(posixVersionDetails(release, "Linux", "6.1.0-18-amd64")),
              u"Debian 12 (x) 6.1 build 0 (6.1.0-18-amd64)");
    EXPECT_EQ(formatOSVersion(posixVersionDetails("", "FreeBSD", "14.0-RELEASE")),
              u"FreeBSD 14.0 build 0 (14.0-RELEASE)");
}

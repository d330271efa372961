// The operating-system name table, the version text, the user-name buffer and
// the administrator decisions, over every row.
#include <gtest/gtest.h>

#include "sysinfo/osinfo.h"
#include "test_support.h"

using namespace qx;
using namespace qx::sysinfo;

namespace {
VersionReport report(std::uint32_t platform, std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                     const std::string& sp) {
    VersionReport r;
    r.ok = true;
    r.platform = platform;
    r.major = major;
    r.minor = minor;
    r.build = build;
    r.servicePack = sp;
    r.servicePack.resize(128, '\0');
    return r;
}
}  // namespace

TEST(OsInfo, NameTableCoversEveryPlatformAndVersion) {
    EXPECT_EQ(osName(0, 3, 10), u"Win32s");
    EXPECT_EQ(osName(0, 0, 0), u"Win32s");
    EXPECT_EQ(osName(1, 4, 0), u"Windows 95");
    EXPECT_EQ(osName(1, 4, 10), u"Windows 98");
    EXPECT_EQ(osName(1, 4, 90), u"Windows ME");
    EXPECT_EQ(osName(1, 7, 3), u"Windows 98");
    EXPECT_EQ(osName(2, 5, 0), u"Windows 2000");
    EXPECT_EQ(osName(2, 5, 1), u"Windows XP");
    EXPECT_EQ(osName(2, 5, 2), u"Windows NT");   // Server 2003
    EXPECT_EQ(osName(2, 6, 0), u"Windows NT");   // Vista
    EXPECT_EQ(osName(2, 4, 0), u"Windows NT");
    EXPECT_EQ(osName(2, 6, 1), u"Windows NT");
    EXPECT_EQ(osName(2, 10, 0), u"Windows NT");
    EXPECT_EQ(osName(3, 5, 1), u"");
    EXPECT_EQ(osName(0xFFFFFFFFu, 5, 1), u"");
}

TEST(OsInfo, VersionTextJoinsNameVersionBuildAndServicePack) {
    EXPECT_EQ(formatOSVersion(versionDetails(report(2, 5, 1, 2600, "Service Pack 3"))),
              u"Windows XP 5.1 build 2600 (Service Pack 3)");
    EXPECT_EQ(formatOSVersion(versionDetails(report(2, 6, 0, 6000, ""))), u"Windows NT 6.0 build 6000 ()");
    // The 95 family keeps version numbers in the build's high word.
    EXPECT_EQ(formatOSVersion(versionDetails(report(1, 4, 10, 0x040A08AE, " A "))),
              u"Windows 98 4.10 build 2222 ( A )");
    EXPECT_EQ(versionDetails(report(2, 6, 1, 0xFFFF0000u, "")).Build, u"0");
}

TEST(OsInfo, FailedQueryLeavesOnlyTheFrame) {
    VersionReport failed = report(2, 5, 1, 2600, "Service Pack 3");
    failed.ok = false;
    EXPECT_EQ(formatOSVersion(versionDetails(failed)), u"  build  ()");
}

TEST(OsInfo, ServicePackIsTakenUpToItsNulAndOnlyWhenOneIsThere) {
    VersionReport r = report(2, 5, 1, 2600, std::string("SP2\0junk", 8));
    EXPECT_EQ(versionDetails(r).ServicePack, u"SP2");
    r.servicePack.assign(128, 'x');  // no NUL in the 128 characters
    EXPECT_EQ(versionDetails(r).ServicePack, u"");
    EXPECT_EQ(versionDetails(r).Name, u"Windows XP");
}

TEST(OsInfo, UserNameMustFitTheTwentyFiveCharacterBuffer) {
    EXPECT_EQ(userNameFromBuffer("alice"), u"alice");
    EXPECT_EQ(userNameFromBuffer(std::string(24, 'u')), String(24, u'u'));
    EXPECT_EQ(userNameFromBuffer(std::string(25, 'u')), u"");
    EXPECT_EQ(userNameFromBuffer(""), u"");
}

TEST(OsInfo, AdministratorsGroupIsFoundAmongTheFirst101Entries) {
    EXPECT_FALSE(administratorsAmong({}));
    EXPECT_TRUE(administratorsAmong({false, true, false}));
    std::vector<bool> groups(101, false);
    EXPECT_FALSE(administratorsAmong(groups));
    groups[100] = true;
    EXPECT_TRUE(administratorsAmong(groups));
    std::vector<bool> many(150, false);
    many[100] = true;
    EXPECT_TRUE(administratorsAmong(many));
    many[100] = false;
    many[120] = true;  // beyond the table: the walk fails before reaching it
    EXPECT_RAISES(9, administratorsAmong(many));
}

TEST(OsInfo, PosixAdministratorIsRootOrAnAdministratingGroup) {
    EXPECT_TRUE(isAdministratorIdentity(0, {}));
    EXPECT_TRUE(isAdministratorIdentity(1000, {"users", "sudo"}));
    EXPECT_TRUE(isAdministratorIdentity(1000, {"wheel"}));
    EXPECT_TRUE(isAdministratorIdentity(1000, {"admin"}));
    EXPECT_FALSE(isAdministratorIdentity(1000, {"users", "sudoers", "Wheel", "adm"}));
    EXPECT_FALSE(isAdministratorIdentity(1000, {}));
}

TEST(OsInfo, OsReleaseValuesAreUnquoted) {
    const std::string text =
        "# comment\nNAME=\"Debian GNU/Linux\"\nPRETTY_NAME='Debian 12 (x)'\nID=debian\n"
        "VERSION=\"12 \\\"bookworm\\\"\"\nNAME_EXTRA=no\n";
    EXPECT_EQ(osReleaseValue(text, "NAME"), "Debian GNU/Linux");
    EXPECT_EQ(osReleaseValue(text, "PRETTY_NAME"), "Debian 12 (x)");
    EXPECT_EQ(osReleaseValue(text, "ID"), "debian");
    EXPECT_EQ(osReleaseValue(text, "VERSION"), "12 \"bookworm\"");
    EXPECT_EQ(osReleaseValue(text, "MISSING"), "");
}

TEST(OsInfo, PosixVersionTextFromDistributionAndKernel) {
    EXPECT_EQ(formatOSVersion(posixVersionDetails("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", "Linux",
                                                  "6.1.0-18-amd64")),
              u"Debian GNU/Linux 12 (bookworm) 6.1 build 0 (6.1.0-18-amd64)");
    EXPECT_EQ(formatOSVersion(posixVersionDetails("NAME=Fedora\n", "Linux", "6.8.11-300.fc40.x86_64")),
              u"Fedora 6.8 build 11 (6.8.11-300.fc40.x86_64)");
    EXPECT_EQ(formatOSVersion(posixVersionDetails("", "FreeBSD", "14.0-RELEASE")),
              u"FreeBSD 14.0 build 0 (14.0-RELEASE)");
    EXPECT_EQ(formatOSVersion(posixVersionDetails("", "Linux", "")), u"  build  ()");
}

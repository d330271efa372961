// Network drives: the answer buffer of a connection query, the elements of
// GetNetworkDrives, and the mount table as the POSIX port reads it (samples
// of /proc/self/mountinfo). Compiled into the native and the Windows test binaries.
#include "sysinfo/network_drives.h"

#include <gtest/gtest.h>

#include <string>

using qx::String;
namespace sysinfo = qx::sysinfo;

TEST(ConnectionBuffer, TrimmedAndWithoutTheTerminator) {
    const String buffer = sysinfo::connectionBuffer(u"\\\\server\\share");
    EXPECT_EQ(buffer.size(), 255u);
    EXPECT_EQ(buffer[14], u'\0');
    EXPECT_EQ(buffer.back(), u' ');
    EXPECT_EQ(sysinfo::uncFromConnectionBuffer(buffer), u"\\\\server\\share");
    // Whatever the last character is, it goes: the system's buffer ends in the NUL.
    EXPECT_EQ(sysinfo::uncFromConnectionBuffer(u"  //host/x\u0001   "), u"//host/x");
    EXPECT_EQ(sysinfo::uncFromConnectionBuffer(String(255, u' ')), u"");
    EXPECT_EQ(sysinfo::uncFromConnectionBuffer(u""), u"");
    EXPECT_EQ(sysinfo::connectionBuffer(String(300, u'a')).size(), 301u);  // too long: nothing cut
}

TEST(NetworkDriveElement, LocalCommaRemote) {
    EXPECT_EQ(sysinfo::networkDriveElement({u"Y:", u"\\\\server\\a"}), u"Y:,\\\\server\\a");
    EXPECT_EQ(sysinfo::networkDriveElement({u"", u"\\\\server\\b"}), u",\\\\server\\b");
    EXPECT_EQ(sysinfo::networkDriveElement({u"Z:", u""}), u"Z:,");
}

TEST(MountInfo, FieldsEscapesAndOptionalFields) {
    const std::string text =
        "22 1 0:21 / /proc rw,nosuid shared:5 - proc proc rw\n"
        "36 35 98:0 /mnt1 /mnt/my\\040share rw,noatime master:1 shared:7 - cifs //srv/Public\\040Docs rw,vers=3.0\n"
        "garbage line\n"
        "40 1 0:50 / /mnt/nfs rw - nfs4 fileserver:/export/home rw\n"
        "41 1 0:51 / /mnt/short rw nodash nfs x\n"
        "42 1 0:52 / /tab\\011x rw -\n";
    const auto entries = sysinfo::parseMountInfo(text);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].mountPoint, "/proc");
    EXPECT_EQ(entries[0].fsType, "proc");
    EXPECT_EQ(entries[1].mountPoint, "/mnt/my share");
    EXPECT_EQ(entries[1].fsType, "cifs");
    EXPECT_EQ(entries[1].source, "//srv/Public Docs");
    EXPECT_EQ(entries[2].source, "fileserver:/export/home");
    EXPECT_EQ(sysinfo::unescapeMountField("a\\134b\\012\\08\\1"), "a\\b\n\\08\\1");
}

TEST(MountInfo, RemoteNamesAsServerAndShare) {
    EXPECT_EQ(sysinfo::remoteNameOf("nfs", "fs1:/export/data"), "//fs1/export/data");
    EXPECT_EQ(sysinfo::remoteNameOf("nfs4", "fs1:/"), "//fs1");
    EXPECT_EQ(sysinfo::remoteNameOf("nfs4", "fs1:/srv/"), "//fs1/srv");
    EXPECT_EQ(sysinfo::remoteNameOf("nfs", "[fe80::1]:/vol"), "//[fe80::1]/vol");
    EXPECT_EQ(sysinfo::remoteNameOf("nfs", "[fe80::1]/vol"), "");
    EXPECT_EQ(sysinfo::remoteNameOf("nfs", "no-colon"), "");
    EXPECT_EQ(sysinfo::remoteNameOf("nfs", ":/x"), "");
    EXPECT_EQ(sysinfo::remoteNameOf("cifs", "//nas/media"), "//nas/media");
    EXPECT_EQ(sysinfo::remoteNameOf("smb3", "\\\\nas\\media\\sub"), "//nas/media/sub");
    EXPECT_EQ(sysinfo::remoteNameOf("cifs", "nas:/media"), "");
    EXPECT_EQ(sysinfo::remoteNameOf("cifs", "///x"), "");
    EXPECT_EQ(sysinfo::remoteNameOf("fuse.sshfs", "alice@build01:/srv/src"), "//build01/srv/src");
    EXPECT_EQ(sysinfo::remoteNameOf("fuse.sshfs", "build01:projects"), "//build01/projects");
    EXPECT_EQ(sysinfo::remoteNameOf("fuse.sshfs", "bob@build01:"), "//build01");
    EXPECT_EQ(sysinfo::remoteNameOf("ext4", "fs1:/export"), "");
}

TEST(MountInfo, VisibleNetworkMountsInOrder) {
    const std::string text =
        "20 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "30 20 0:40 / /mnt/b rw - nfs fs2:/b rw\n"
        "31 20 0:41 / /mnt/a rw - cifs //nas/a rw\n"
        "32 20 0:42 / /mnt/over rw - nfs fs3:/old rw\n"
        "33 20 0:43 / /mnt/over rw - tmpfs tmpfs rw\n"
        "34 20 0:44 / /mnt/ssh rw - fuse.sshfs me@host:/home/me rw\n"
        "35 20 0:45 / /mnt/c rw - smb3 //nas/c rw\n"
        "36 20 0:46 / /mnt/twice rw - nfs fs4:/first rw\n"
        "37 20 0:47 / /mnt/twice rw - nfs4 fs4:/second rw\n";
    const auto c = sysinfo::networkConnections(text);
    ASSERT_EQ(c.size(), 5u);
    EXPECT_EQ(sysinfo::networkDriveElement(c[0]), u"/mnt/b,//fs2/b");
    EXPECT_EQ(sysinfo::networkDriveElement(c[1]), u"/mnt/a,//nas/a");
    EXPECT_EQ(sysinfo::networkDriveElement(c[2]), u"/mnt/ssh,//host/home/me");
    EXPECT_EQ(sysinfo::networkDriveElement(c[3]), u"/mnt/c,//nas/c");
    EXPECT_EQ(sysinfo::networkDriveElement(c[4]), u"/mnt/twice,//fs4/second");
    EXPECT_TRUE(sysinfo::networkConnections("20 1 8:1 / / rw - ext4 /dev/sda1 rw\n").empty());
    EXPECT_TRUE(sysinfo::networkConnections("").empty());
}

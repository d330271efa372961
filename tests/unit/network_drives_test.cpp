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
    EXPECT_EQ(sysinfo::uncFromConnectionBuffer(buffer), u"\\\\server\\share");
    // Whatever the last character is, it goes: the system's buffer ends in the NUL.
    EXPECT_EQ(sysinfo::uncFromConnectionBuffer(u"  //host/x\u0001   "), u"//host/x");
}

TEST(MountInfo, FieldsEscapesAndRemoteNames) {
    const auto entries = sysinfo::parseMountInfo(
        "36 35 98:0 /mnt1 /mnt/my\\040share rw master:1 shared:7 - cifs //srv/Public\\040Docs rw,vers=3.0\n"
        "garbage line\n"
        "41 1 0:51 / /mnt/short rw nodash nfs x\n"
        "42 1 0:52 / /tab\\011x rw -\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].mountPoint + "|" + entries[0].fsType + "|" + entries[0].source,
              "/mnt/my share|cifs|//srv/Public Docs");
    EXPECT_EQ(sysinfo::unescapeMountField("a\\134b\\018\\1"), "a\\b\\018\\1");

    EXPECT_EQ(sysinfo::remoteNameOf("nfs4", "fs1:/srv/"), "//fs1/srv");
    EXPECT_EQ(sysinfo::remoteNameOf("nfs", "[fe80::1]:/vol"), "//[fe80::1]/vol");
    EXPECT_EQ(sysinfo::remoteNameOf("smb3", "\\\\nas\\media\\sub"), "//nas/media/sub");
    EXPECT_EQ(sysinfo::remoteNameOf("fuse.sshfs", "bob@build01:"), "//build01");
}

TEST(MountInfo, VisibleNetworkMountsInOrder) {
    const std::string text =
        "20 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "30 20 0:40 / /mnt/b rw - nfs fs2:/b rw\n"
        "31 20 0:41 / /mnt/a rw - cifs //nas/a rw\n"
        "34 20 0:44 / /mnt/ssh rw - fuse.sshfs me@host:/home/me rw\n"
        "36 20 0:46 / /mnt/twice rw - nfs fs4:/first rw\n"
        "37 20 0:47 / /mnt/twice rw - smb3 //nas/second rw\n";
    std::vector<String> drives;
    for (const auto& c : sysinfo::networkConnections(text)) drives.push_back(sysinfo::networkDriveElement(c));
    EXPECT_EQ(drives, (std::vector<String>{u"/mnt/b,//fs2/b", u"/mnt/a,//nas/a", u"/mnt/ssh,//host/home/me",
                                           u"/mnt/twice,//nas/second"}));
}

// The POSIX ports of the system information on this machine: version resources
// of files (a FIFO must not block), disks from /sys/block, network mounts from
// the mount table, and the system queries against the system's own answers.
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/screen.h"
#include "sysinfo/HDSN.h"
#include "sysinfo/clsVersionInfo.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;

TEST(PosixVersionInfo, PeFilesAreReadAndSpecialFilesLeftAlone) {
    qxtest::TempFolder dir("qx_verposix");
    const std::string fifo = (dir.path() / "pipe").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    qx::clsQXGenRtns lib;
    qx::clsVersionInfo v;
    v.FullFileName(qx::fromNarrow(std::string(QX_TEST_DATA_DIR) + "/pe/driver32.dll"));
    lib.GetDisplayVerInfo(v);
    EXPECT_EQ(v.FileVer() + u' ' + v.FileSubType(), u"1.2.3.4 Sound drv");
    for (const char* name : {fifo.c_str(), "/dev/null", "/proc/self/status", "/", "/no/such.dll", ""}) {
        v.FullFileName(qx::fromNarrow(name));
        lib.GetDisplayVerInfo(v);  // returns at once, even for the FIFO no one writes to
        EXPECT_EQ(v.FileVer() + u' ' + v.FileSubType(), u"1.2.3.4 Sound drv") << name;
    }
}

TEST(PosixNetworkDrives, LocalFoldersAreNotConnected) {
    qx::clsQXGenRtns lib;
    String unc = u"old";
    EXPECT_EQ(lib.GetUNCPath(u"/tmp", unc), 2250);
    EXPECT_EQ(unc, u"/tmp/");
    // A failure inside the routine (here the message pump) ends with 50 and the name as given.
    qxtest::runOnFreshThread([] {
        qx::setMessagePump([] { qx::raise(qx::err::InvalidProcedureCall); });
        qx::clsQXGenRtns inner;
        String name = u"old";
        EXPECT_EQ(inner.GetUNCPath(u"/mnt/x", name), 50);
        EXPECT_EQ(name, u"/mnt/x");
    });
}

TEST(PosixDisks, SerialsAndIdentityFromTheBlockDevices) {
    qx::clsQXGenRtns lib;
    const std::vector<String> serials = lib.GetHDSerialNumbers();
    qx::HDSN disk;
    for (std::uint8_t d = 0; d < 4; ++d) {
        disk.CurrentDrive(d);
        if (d < serials.size())
            EXPECT_EQ(disk.GetSerialNumber(), serials[d].substr(0, 20));
        else
            EXPECT_RAISES(10003, disk.GetModelNumber());
    }
}

TEST(PosixOsInfo, VersionUserAndAdministrator) {
    struct utsname u {};
    ASSERT_EQ(::uname(&u), 0);
    qx::clsQXGenRtns lib;
    const std::string text = qx::toNarrow(lib.GetOSVersion());
    const std::string tail = std::string(" (") + u.release + ")";
    EXPECT_EQ(text.substr(text.size() - std::min(text.size(), tail.size())), tail);
    const struct passwd* pw = ::getpwuid(::getuid());
    ASSERT_NE(pw, nullptr);
    const std::string name = pw->pw_name;
    EXPECT_EQ(qx::toNarrow(lib.WhoAmI()), name.size() <= 24 ? name : std::string());
    EXPECT_TRUE(::geteuid() != 0 || lib.IsAdmin()) << "root is an administrator";
}

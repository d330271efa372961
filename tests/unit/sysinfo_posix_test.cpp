// The POSIX port of version information, disk identity and network drives,
// on this machine: version resources read from PE files on disk (including a
// FIFO, which must not block), disks from /sys/block, network mounts from the
// process's mount table.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/screen.h"
#include "sysinfo/HDSN.h"
#include "sysinfo/clsVersionInfo.h"
#include "sysinfo/disk_identity.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;

namespace {
// Entries of /sys/block that have a "device" link, counted without the library.
std::size_t hardwareBlockDevices() {
    std::size_t n = 0;
    if (DIR* d = ::opendir("/sys/block")) {
        while (const dirent* e = ::readdir(d)) {
            if (e->d_name[0] == '.') continue;
            struct stat st {};
            if (::stat(("/sys/block/" + std::string(e->d_name) + "/device").c_str(), &st) == 0) ++n;
        }
        ::closedir(d);
    }
    return n;
}
}  // namespace

TEST(PosixVersionInfo, ReadsPeFilesOnDisk) {
    qx::clsQXGenRtns lib;
    qx::clsVersionInfo v;
    v.FullFileName(qx::fromNarrow(std::string(QX_TEST_DATA_DIR) + "/pe/driver32.dll"));
    lib.GetDisplayVerInfo(v);
    EXPECT_EQ(v.FileVer(), u"1.2.3.4");
    EXPECT_EQ(v.FileType(), u"Driver");
    EXPECT_EQ(v.FileSubType(), u"Sound drv");

    v.FullFileName(qx::fromNarrow(std::string(QX_TEST_DATA_DIR) + "/pe/noversion64.dll"));
    lib.GetDisplayVerInfo(v);
    EXPECT_EQ(v.FileSubType(), u"Sound drv");
}

TEST(PosixVersionInfo, SpecialFilesAreNoVersionResource) {
    qxtest::TempFolder dir("qx_verposix");
    const std::string fifo = (dir.path() / "pipe").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    qx::clsQXGenRtns lib;
    qx::clsVersionInfo v;
    v.FileOS(u"kept");
    for (const char* name : {fifo.c_str(), "/dev/null", "/proc/self/status", "/"}) {
        v.FullFileName(qx::fromNarrow(name));
        lib.GetDisplayVerInfo(v);  // returns at once, even for the FIFO no one writes to
        EXPECT_EQ(v.FileOS(), u"kept") << name;
    }
}

TEST(PosixNetworkDrives, EveryListedDriveResolvesToItsRemoteName) {
    qx::clsQXGenRtns lib;
    const qx::Variant drives = lib.GetNetworkDrives();
    ASSERT_EQ(drives.type(), qx::Variant::Type::vbArray);
    for (const qx::Variant& element : drives.toArray()) {
        const String s = element.toString();
        const std::size_t comma = s.find(u',');
        ASSERT_NE(comma, String::npos) << qx::toUtf8(s);
        String unc = u"old";
        EXPECT_EQ(lib.GetUNCPath(s.substr(0, comma), unc), 0) << qx::toUtf8(s);
        EXPECT_EQ(unc, s.substr(comma + 1));
    }
}

TEST(PosixNetworkDrives, LocalFoldersAreNotConnected) {
    qx::clsQXGenRtns lib;
    String unc = u"old";
    EXPECT_EQ(lib.GetUNCPath(u"/", unc), 2250);
    EXPECT_EQ(unc, u"//");
    qxtest::TempFolder dir("qx_unc");
    const String folder = dir.path().u16string();
    EXPECT_EQ(lib.GetUNCPath(folder, unc), 2250);
    EXPECT_EQ(unc, folder + u"/");
    EXPECT_EQ(lib.GetUNCPath(u"", unc), 2250);
    EXPECT_EQ(unc, u"/");
}

TEST(PosixNetworkDrives, AFailingMessagePumpEndsWithFifty) {
    qxtest::runOnFreshThread([] {
        qx::setMessagePump([] { qx::raise(qx::err::InvalidProcedureCall); });
        qx::clsQXGenRtns lib;
        String unc = u"old";
        EXPECT_EQ(lib.GetUNCPath(u"/mnt/x", unc), 50);
        EXPECT_EQ(unc, u"/mnt/x");
        qx::setMessagePump(nullptr);
    });
}

TEST(PosixDisks, SerialsAndIdentityFromTheBlockDevices) {
    qx::clsQXGenRtns lib;
    const std::vector<String> serials = lib.GetHDSerialNumbers();
    EXPECT_EQ(serials.size(), hardwareBlockDevices());
    for (const String& s : serials) EXPECT_EQ(s, qx::trim(s));

    qx::HDSN disk;
    EXPECT_EQ(disk.Platform(), u"WNT");
    const auto devices = qx::sysinfo::scanBlockDevices("/sys/block", "/run/udev/data");
    for (std::uint8_t d = 0; d < 4; ++d) {
        disk.CurrentDrive(d);
        if (d < devices.size()) {
            EXPECT_EQ(disk.GetModelNumber(), qx::trim(qx::fromNarrow(devices[d].model.substr(0, 40))));
            EXPECT_EQ(disk.GetSerialNumber(), serials[d].substr(0, 20));
            EXPECT_EQ(disk.GetFirmwareRevision(), qx::trim(qx::fromNarrow(devices[d].firmware.substr(0, 8))));
        } else {
            EXPECT_RAISES(10003, disk.GetModelNumber());
        }
    }
}

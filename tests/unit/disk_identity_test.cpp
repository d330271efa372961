// Disk identity: the identify request, the decoding of identify blocks, the
// platform codes and the errors of the HDSN class, and the block-device
// listing over a made-up /sys/block tree and udev database. Compiled into the
// native and the Windows test binaries.
#include "sysinfo/disk_identity.h"

#include <gtest/gtest.h>

#include <string>

#include "sysinfo/HDSN.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
namespace sysinfo = qx::sysinfo;
namespace hdsn = qx::sysinfo::hdsn;

namespace {
String text(const sysinfo::IdentifyBlock& block, std::int32_t type) {
    return sysinfo::identifyText(block, sysinfo::identifyField(type));
}
}  // namespace

TEST(IdentifyRequest, LayoutForMasterAndSlave) {
    for (std::uint8_t drive = 0; drive < 4; ++drive) {
        std::array<std::uint8_t, 32> expected{0x00, 0x02, 0, 0, 0, 1, 1, 0, 0, 0xA0, 0xEC, 0, drive};
        if (drive & 1) expected[9] = 0xB0;
        EXPECT_EQ(sysinfo::identifyRequest(drive), expected) << int(drive);
    }
}

TEST(IdentifyText, WordsAreSwappedTrimmedAndEndAtAZeroByte) {
    sysinfo::IdentifyBlock block;
    block.fill('x');
    EXPECT_EQ(text(block, hdsn::ModelNumber), String(40, u'x'));
    // Stored as a disk stores it: byte pairs swapped, padded with spaces, cut at the field's end.
    sysinfo::encodeIdentifyText(block, sysinfo::identifyField(hdsn::SerialNumber), "      WD-WCC6Y");
    EXPECT_EQ(text(block, hdsn::SerialNumber), u"WD-WCC6Y");
    sysinfo::encodeIdentifyText(block, sysinfo::identifyField(hdsn::FirmwareRevision), "123456789ABC");
    EXPECT_EQ(text(block, hdsn::FirmwareRevision), u"12345678");
    EXPECT_EQ(block[54], 'x');
    // A zero byte ends the text, the odd byte of a pair being read first.
    block[49] = 0;
    EXPECT_EQ(text(block, hdsn::FirmwareRevision), u"12");
    block[48] = 0;
    block[49] = '3';
    EXPECT_EQ(text(block, hdsn::FirmwareRevision), u"123");
}

TEST(HdsnClass, PlatformsDrivesAndDataTypes) {
    EXPECT_EQ(sysinfo::platformCode(1, 90), u"W98");
    EXPECT_EQ(sysinfo::platformCode(2, 1), u"WNT");
    EXPECT_EQ(sysinfo::platformCode(3, 0), u"Unk");
    qx::HDSN d(u"32S");
    EXPECT_RAISES(10000, d.CurrentDrive(4));
    EXPECT_RAISES(10001, d.ReadDriveIdentity(3));  // the data type is checked first
    EXPECT_RAISES(10002, d.GetSerialNumber());
}

TEST(BlockDevices, ScanOfAMadeUpTreeInNameOrder) {
    qxtest::TempFolder root("qx_sys");
    // sdb: from its udev record, where that has a value; sda: kernel attributes
    // only; nvme: serial beside the device; loop0 has no device and is left out.
    root.write(u"block|sdb|dev", "8:16\n");
    root.write(u"block|sdb|device|model", "kernel model\n");
    root.write(u"block|sdb|serial", "WD-WCC6Y\n");
    root.write(u"udev|b8:16", "E:ID_MODEL_ENC=WDC\\x20WD10\\x20\\xZZ\\x4a\\x2\nS:ID_MODEL_ENC=link\nI:123\n"
                              "E:ID_SERIAL_SHORT=\nE:ID_SERIAL_SHORT\nE:ID_REVISION=01=A");
    root.write(u"block|sda|device|model", "VBOX HARDDISK   \n");
    root.write(u"block|sda|device|rev", "1.0 \n");
    root.write(u"block|nvme10n1|serial", "  S4EWNX0  \n");
    root.write(u"block|nvme10n1|device|firmware_rev", "2B2QEXM7\n");
    root.write(u"block|nvme2n1|device|model", "M\n");
    root.write(u"block|loop0|dev", "7:0\n");

    std::string listing;
    for (const auto& d : sysinfo::scanBlockDevices(root.path() / "block", root.path() / "udev"))
        listing += d.name + "|" + d.model + "|" + d.serial + "|" + d.firmware + "\n";
    EXPECT_EQ(listing, "nvme2n1|M||\nnvme10n1||S4EWNX0|2B2QEXM7\nsda|VBOX HARDDISK||1.0\n"
                       "sdb|WDC WD10 \\xZZJ\\x2|WD-WCC6Y|01=A\n");
    EXPECT_TRUE(sysinfo::deviceNameLess("sr002", "sr10"));
    EXPECT_TRUE(sysinfo::deviceNameLess("nvme0n1", "nvme0n1p"));
    EXPECT_FALSE(sysinfo::deviceNameLess("vda", "vda"));
}

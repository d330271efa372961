// Disk identity: the identify request, the decoding of identify blocks, the
// platform codes and the errors of the HDSN class, and the block-device
// listing over a made-up /sys/block tree and udev database. Compiled into the
// native and the Windows test binaries.
#include "sysinfo/disk_identity.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "sysinfo/HDSN.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
namespace sysinfo = qx::sysinfo;
namespace hdsn = qx::sysinfo::hdsn;

namespace {
// Puts raw bytes into the block, in the order given.
void put(sysinfo::IdentifyBlock& block, std::size_t at, const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) block[at + i] = static_cast<std::uint8_t>(bytes[i]);
}

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

TEST(IdentifyText, WordsAreSwappedAndSpacesTrimmed) {
    sysinfo::IdentifyBlock block{};
    // "ST3500418AS" stored as the disk stores it: byte pairs swapped, padded with spaces.
    sysinfo::encodeIdentifyText(block, sysinfo::identifyField(hdsn::ModelNumber), "ST3500418AS");
    EXPECT_EQ(block[54], 'T');
    EXPECT_EQ(block[55], 'S');
    EXPECT_EQ(block[93], ' ');
    EXPECT_EQ(text(block, hdsn::ModelNumber), u"ST3500418AS");

    // A serial number with leading blanks, as many disks store it.
    sysinfo::encodeIdentifyText(block, sysinfo::identifyField(hdsn::SerialNumber), "      WD-WCC6Y");
    EXPECT_EQ(text(block, hdsn::SerialNumber), u"WD-WCC6Y");
    put(block, 46, "DC1.");  // firmware "CD.1" as stored, each pair swapped
    put(block, 50, "    ");
    EXPECT_EQ(text(block, hdsn::FirmwareRevision), u"CD.1");
}

TEST(IdentifyText, AZeroByteEndsTheTextEvenInsideAPair) {
    sysinfo::IdentifyBlock block{};
    put(block, 46, std::string("BA\0C", 4));  // the even byte of the second pair is zero: after "C"
    put(block, 50, "XXXX");
    EXPECT_EQ(text(block, hdsn::FirmwareRevision), u"ABC");
    put(block, 46, std::string("BAD\0", 4));  // the odd byte, read first, is zero
    EXPECT_EQ(text(block, hdsn::FirmwareRevision), u"AB");
    put(block, 46, "BADC");
    put(block, 50, std::string("\0E", 2));
    EXPECT_EQ(text(block, hdsn::FirmwareRevision), u"ABCDE");
    sysinfo::IdentifyBlock empty{};
    EXPECT_EQ(text(empty, hdsn::ModelNumber), u"");
}

TEST(IdentifyText, FieldsStopAtTheirLastPair) {
    sysinfo::IdentifyBlock block;
    block.fill('x');
    EXPECT_EQ(text(block, hdsn::ModelNumber), String(40, u'x'));
    EXPECT_EQ(text(block, hdsn::SerialNumber), String(20, u'x'));
    EXPECT_EQ(text(block, hdsn::FirmwareRevision), String(8, u'x'));
    // Encoding cuts what does not fit and leaves the neighbours alone.
    sysinfo::encodeIdentifyText(block, sysinfo::identifyField(hdsn::FirmwareRevision), "123456789ABC");
    EXPECT_EQ(text(block, hdsn::FirmwareRevision), u"12345678");
    EXPECT_EQ(block[45], 'x');
    EXPECT_EQ(block[54], 'x');
}

TEST(IdentifyText, DataTypesAndErrors) {
    EXPECT_RAISES(10001, sysinfo::identifyField(3));
    EXPECT_RAISES(10001, sysinfo::identifyField(-1));
    try {
        sysinfo::raiseHdsn(hdsn::IllegalPlatform);
    } catch (const qx::RuntimeError& e) {
        EXPECT_EQ(e.description(), u"Illegal platform (only WNT, W98 or W95)");
    }
    EXPECT_EQ(sysinfo::hdsnErrorText(10000), u"Illegal drive number");
    EXPECT_EQ(sysinfo::hdsnErrorText(10001), u"Illegal HD Data type");
    EXPECT_EQ(sysinfo::hdsnErrorText(10003), u"Error on CreateFile");
}

TEST(HdsnPlatform, CodesFromTheVersion) {
    EXPECT_EQ(sysinfo::platformCode(0, 0), u"32S");
    EXPECT_EQ(sysinfo::platformCode(1, 0), u"W95");
    EXPECT_EQ(sysinfo::platformCode(1, 10), u"W98");
    EXPECT_EQ(sysinfo::platformCode(1, 90), u"W98");
    EXPECT_EQ(sysinfo::platformCode(2, 1), u"WNT");
    EXPECT_EQ(sysinfo::platformCode(3, 0), u"Unk");
    EXPECT_TRUE(sysinfo::readablePlatform(u"W95"));
    EXPECT_FALSE(sysinfo::readablePlatform(u"32S"));
    EXPECT_FALSE(sysinfo::readablePlatform(u"Unk"));
}

TEST(HdsnClass, DriveNumberAndPlatformErrors) {
    qx::HDSN d(u"Unk");
    EXPECT_EQ(d.CurrentDrive(), 0);
    d.CurrentDrive(3);
    EXPECT_EQ(d.CurrentDrive(), 3);
    EXPECT_RAISES(10000, d.CurrentDrive(4));
    EXPECT_RAISES(10000, d.CurrentDrive(255));
    EXPECT_EQ(d.CurrentDrive(), 3);
    EXPECT_EQ(d.Platform(), u"Unk");
    EXPECT_RAISES(10002, d.GetModelNumber());
    EXPECT_RAISES(10002, d.GetSerialNumber());
    EXPECT_RAISES(10002, d.GetFirmwareRevision());
    EXPECT_RAISES(10001, d.ReadDriveIdentity(7));  // the data type is checked first
    qx::HDSN s(u"32S");
    EXPECT_RAISES(10002, s.GetSerialNumber());
    EXPECT_FALSE(s.Copyright().empty());
}

TEST(BlockDevices, UdevRecordsAndEscapes) {
    const auto props = sysinfo::parseUdevProperties(
        "S:disk/by-id/ata-X\nE:ID_MODEL=Samsung_SSD\nE:ID_MODEL_ENC=Samsung\\x20SSD\\x20860\\x20\\x20\nI:123\n"
        "E:ID_SERIAL_SHORT=S3Z9NB0K\nE:BROKEN\nE:=x\nE:EMPTY=\nE:EQ=a=b");
    EXPECT_EQ(props.at("ID_MODEL"), "Samsung_SSD");
    EXPECT_EQ(props.at("ID_SERIAL_SHORT"), "S3Z9NB0K");
    EXPECT_EQ(props.at("EMPTY"), "");
    EXPECT_EQ(props.at("EQ"), "a=b");
    EXPECT_EQ(props.count("BROKEN"), 0u);
    EXPECT_EQ(props.count(""), 0u);
    EXPECT_EQ(props.size(), 5u);
    EXPECT_EQ(sysinfo::decodeUdevEscapes(props.at("ID_MODEL_ENC")), "Samsung SSD 860  ");
    EXPECT_EQ(sysinfo::decodeUdevEscapes("a\\x2"), "a\\x2");
    EXPECT_EQ(sysinfo::decodeUdevEscapes("\\xZZ\\x41"), "\\xZZA");
}

TEST(BlockDevices, NameOrder) {
    EXPECT_TRUE(sysinfo::deviceNameLess("sda", "sdb"));
    EXPECT_TRUE(sysinfo::deviceNameLess("sdb", "sr0"));
    EXPECT_TRUE(sysinfo::deviceNameLess("nvme2n1", "nvme10n1"));
    EXPECT_TRUE(sysinfo::deviceNameLess("nvme0n1", "nvme0n1p"));
    EXPECT_FALSE(sysinfo::deviceNameLess("vda", "vda"));
    EXPECT_FALSE(sysinfo::deviceNameLess("sr0", "sda"));
    EXPECT_TRUE(sysinfo::deviceNameLess("sr002", "sr10"));
}

TEST(BlockDevices, ScanOfAMadeUpTree) {
    qxtest::TempFolder root("qx_sys");
    // sdb: everything from udev; sda: kernel attributes only; nvme: serial beside
    // the device; loop0 has no device and is left out; sr0 has no serial at all.
    root.write(u"block|sdb|dev", "8:16\n");
    root.write(u"block|sdb|device|model", "kernel model\n");
    root.write(u"udev|b8:16", "E:ID_MODEL_ENC=WDC\\x20WD10EZEX\\x20\\x20\nE:ID_SERIAL_SHORT=WD-WCC6Y\n"
                              "E:ID_REVISION=01.01A01\n");
    root.write(u"block|sda|dev", "8:0\n");
    root.write(u"block|sda|device|model", "VBOX HARDDISK   \n");
    root.write(u"block|sda|device|rev", "1.0 \n");
    root.write(u"block|nvme10n1|dev", "259:1\n");
    root.write(u"block|nvme10n1|serial", "  S4EWNX0  \n");
    root.write(u"block|nvme10n1|device|firmware_rev", "2B2QEXM7\n");
    root.write(u"block|nvme2n1|device|model", "second nvme\n");
    root.write(u"block|loop0|dev", "7:0\n");
    root.write(u"block|sr0|dev", "11:0\n");
    root.write(u"block|sr0|device|model", "DVD-ROM\n");

    const auto devices = sysinfo::scanBlockDevices(root.path() / "block", root.path() / "udev");
    ASSERT_EQ(devices.size(), 5u);
    EXPECT_EQ(devices[0].name, "nvme2n1");
    EXPECT_EQ(devices[0].model, "second nvme");
    EXPECT_EQ(devices[0].serial, "");
    EXPECT_EQ(devices[1].name, "nvme10n1");
    EXPECT_EQ(devices[1].serial, "S4EWNX0");
    EXPECT_EQ(devices[1].firmware, "2B2QEXM7");
    EXPECT_EQ(devices[2].name, "sda");
    EXPECT_EQ(devices[2].model, "VBOX HARDDISK");
    EXPECT_EQ(devices[2].firmware, "1.0");
    EXPECT_EQ(devices[3].name, "sdb");
    EXPECT_EQ(devices[3].model, "WDC WD10EZEX  ");  // trimmed when it is read out of the identify block
    EXPECT_EQ(devices[3].serial, "WD-WCC6Y");
    EXPECT_EQ(devices[3].firmware, "01.01A01");
    EXPECT_EQ(devices[4].name, "sr0");
    EXPECT_EQ(devices[4].serial, "");

    EXPECT_TRUE(sysinfo::scanBlockDevices(root.path() / "missing", root.path() / "udev").empty());
}

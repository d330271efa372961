// The registry store's hive and its .reg text, and the routines' data
// conversions.
#include <gtest/gtest.h>

#include <map>

#include "registry/hive.h"
#include "registry/registry.h"

using namespace qx;
using namespace qx::reg;

namespace {
const char* const kRoot = "HKEY_CURRENT_USER";

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s += static_cast<char>(c);
    return s;
}
}  // namespace

TEST(RegistryHive, EveryValueTypeRoundTripsByteForByte) {
    Hive h;
    ASSERT_EQ(h.create("Software\\Qx Test"), 0);
    const std::vector<HiveValue> values = {
        {"sz", 1, std::string("plain \"quoted\" back\\slash\0", 26)},
        {"sz inner nul", 1, std::string("a\0b\0", 4)},
        {"sz no nul", 1, "abc"},
        {"sz newline", 1, std::string("line\r\nnext\0", 11)},
        {"expand", 2, std::string("%HOME%\\x\0", 9)},
        {"binary", 3, bytes({0, 1, 0xFE, 0xFF})},
        {"dword", 4, bytes({2, 1, 0, 0x80})},
        {"short dword", 4, bytes({7})},
        {"big endian", 5, bytes({0, 0, 1, 2})},
        {"link", 6, "L"},
        {"multi", 7, std::string("one\0two\0\0", 9)},
        {"res", 8, bytes({9})},
        {"full", 9, ""},
        {"req", 10, bytes({0xAA})},
        {"none", 0, ""},
        {"", 1, std::string("default\0", 8)},
        {"odd type", 0x12345, bytes({1, 2})},
    };
    for (const auto& v : values) ASSERT_EQ(h.setValue("Software\\Qx Test", v.name, v.type, v.data), 0) << v.name;
    ASSERT_EQ(h.setValue("", "at root", 4, bytes({1, 0, 0, 0})), 0);

    const std::string text = h.text(kRoot);
    Hive back;
    ASSERT_TRUE(back.parse(text, kRoot)) << text;
    for (const auto& v : values) {
        const HiveValue* got = back.value("software\\QX TEST", v.name);
        ASSERT_NE(got, nullptr) << v.name;
        EXPECT_EQ(got->type, v.type) << v.name;
        EXPECT_EQ(got->data, v.data) << v.name;
    }
    ASSERT_NE(back.value("", "at root"), nullptr);
    EXPECT_EQ(back.text(kRoot), text);
}

TEST(RegistryHive, TextIsRegedit4WithReadableLines) {
    Hive h;
    h.create("Software\\App");
    h.setValue("Software\\App", "Name", 1, std::string("Bob \"B\"\0", 8));
    h.setValue("Software\\App", "", 1, std::string("d\0", 2));
    h.setValue("Software\\App", "Count", 4, bytes({0x02, 0x01, 0, 0}));
    h.setValue("Software\\App", "Blob", 3, bytes({0xDE, 0xAD}));
    h.setValue("Software\\App", "Multi", 7, std::string("a\0\0", 3));
    EXPECT_EQ(h.text(kRoot),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n[HKEY_CURRENT_USER\\Software\\App]\r\n"
              "\"Name\"=\"Bob \\\"B\\\"\"\r\n@=\"d\"\r\n\"Count\"=dword:00000102\r\n\"Blob\"=hex:de,ad\r\n"
              "\"Multi\"=hex(7):61,00,00\r\n");
}

TEST(RegistryHive, ParsesExportsWithContinuationsAndComments) {
    const std::string text =
        "REGEDIT4\n\n; a comment\n[HKEY_CURRENT_USER\\A\\B]\n\"x\"=hex(2):25,50,25,\\\n  00\n"
        "\"y\"=\"ends in backslash\\\\\"\n\"z\"=dword:0000000A\n";
    Hive h;
    ASSERT_TRUE(h.parse(text, kRoot));
    EXPECT_TRUE(h.exists("A"));
    ASSERT_NE(h.value("A\\B", "x"), nullptr);
    EXPECT_EQ(h.value("A\\B", "x")->data, std::string("%P%\0", 4));
    EXPECT_EQ(h.value("A\\B", "y")->data, std::string("ends in backslash\\\0", 19));
    EXPECT_EQ(h.value("A\\B", "z")->data, bytes({10, 0, 0, 0}));
}

TEST(RegistryHive, DamagedTextIsRejected) {
    Hive h;
    EXPECT_TRUE(h.parse("", kRoot));
    EXPECT_FALSE(h.parse("not a header\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n\"orphan\"=\"x\"\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"v\"=hex:1,02\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"v\"=dword:123\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"v\"=\"open\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n[HKEY_CURRENT_USERX]\r\n", kRoot));
}

TEST(RegistryHive, KeysAreFoldedByCaseAndDeletedOnlyWithoutSubkeys) {
    Hive h;
    ASSERT_EQ(h.create("Software\\Mixed\\Leaf"), 0);
    ASSERT_EQ(h.create("SOFTWARE\\mixed\\Other"), 0);
    EXPECT_TRUE(h.exists("software\\MIXED"));
    EXPECT_NE(h.text(kRoot).find("[HKEY_CURRENT_USER\\Software\\Mixed\\Other]"), std::string::npos);
    EXPECT_EQ(h.removeKey("Software\\Mixed"), code::AccessDenied);
    EXPECT_EQ(h.removeKey("Software\\Mixed\\Leaf"), 0);
    EXPECT_EQ(h.removeKey("Software\\Mixed\\Leaf"), code::FileNotFound);
    EXPECT_EQ(h.removeKey(""), code::AccessDenied);
    EXPECT_EQ(h.create("\\Leading"), code::BadPathName);
    EXPECT_EQ(h.create("Two\\\\Slashes"), code::BadPathName);
    EXPECT_EQ(h.setValue("Missing", "v", 1, "x"), code::KeyDeleted);
    EXPECT_EQ(h.removeValue("Software\\Mixed", "none"), code::FileNotFound);
    h.setValue("Software\\Mixed", "Val", 1, "x");
    h.setValue("Software\\Mixed", "VAL", 3, "y");
    EXPECT_EQ(h.value("Software\\Mixed", "val")->type, 3u);
    EXPECT_EQ(h.removeValue("Software\\Mixed", "vAl"), 0);
    EXPECT_EQ(h.value("Software\\Mixed", "Val"), nullptr);
}

TEST(RegistryData, TextBinaryAndPercentConversions) {
    EXPECT_EQ(textValueBytes(u"abc"), std::string("abc\0", 4));
    EXPECT_EQ(textValueBytes(u""), std::string("\0", 1));
    EXPECT_EQ(charsFromBytes(std::string("a\0z", 3)), String(u"a\0z", 3));
    EXPECT_EQ(stringFromBytePairs(bytes({0x41, 0, 0x42, 0x01, 0x43})), u"A\u0142");
    const std::map<std::string, std::string> env = {{"HOME", "/h"}, {"E", ""}};
    auto lookup = [&](const std::string& n, std::string& v) {
        auto it = env.find(n);
        if (it == env.end()) return false;
        v = it->second;
        return true;
    };
    EXPECT_EQ(expandPercentReferences("%HOME%\\x%E%y", lookup), "/h\\xy");
    EXPECT_EQ(expandPercentReferences("%NOPE%%HOME%", lookup), "%NOPE%/h");
    EXPECT_EQ(expandPercentReferences("100%", lookup), "100%");
    EXPECT_EQ(expandPercentReferences("%%HOME%", lookup), "%/h");
}

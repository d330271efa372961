// The registry store's hive and its .reg text, and the expansion of
// environment references.
#include <gtest/gtest.h>

#include "registry/hive.h"
#include "registry/registry.h"

using namespace qx;
using namespace qx::reg;

namespace {
const char* const kRoot = "HKEY_CURRENT_USER";
}  // namespace

TEST(RegistryHive, EveryFormOfValueRoundTripsByteForByte) {
    Hive h;
    ASSERT_EQ(h.create("Software\\Qx Test"), 0);
    // Plain text is written quoted; text that is not plain, a DWORD of another
    // size and every other type as a hex list.
    const std::vector<HiveValue> values = {
        {"sz", 1, std::string("plain \"quoted\" back\\slash\0", 26)},
        {"", 1, std::string("a\0b\0", 4)},
        {"sz newline", 1, std::string("line\r\nnext\0", 11)},
        {"dword", 4, std::string("\x02\x01\0\x80", 4)},
        {"short dword", 4, "\x07"},
        {"multi", 7, std::string("one\0two\0\0", 9)},
        {"odd type", 0x12345, "\x01\x02"},
    };
    for (const auto& v : values) ASSERT_EQ(h.setValue("Software\\Qx Test", v.name, v.type, v.data), 0) << v.name;
    ASSERT_EQ(h.setValue("", "at root", 3, "old"), 0);
    ASSERT_EQ(h.setValue("", "AT ROOT", 4, std::string("\x01\0\0\0", 4)), 0);  // replaces it

    const std::string text = h.text(kRoot);
    EXPECT_NE(text.find("\r\n@=hex(1):61,00,62,00\r\n"), std::string::npos) << text;  // not a raw NUL in quotes
    Hive back;
    ASSERT_TRUE(back.parse(text, kRoot)) << text;
    for (const auto& v : values) {
        const HiveValue* got = back.value("software\\QX TEST", v.name);
        ASSERT_NE(got, nullptr) << v.name;
        EXPECT_EQ(got->type, v.type) << v.name;
        EXPECT_EQ(got->data, v.data) << v.name;
    }
    ASSERT_NE(back.value("", "at root"), nullptr);
    EXPECT_EQ(back.value("", "at root")->type, 4u);
    EXPECT_EQ(back.text(kRoot), text);
}

TEST(RegistryHive, ParsesExportsAndRejectsDamagedText) {
    const std::string text =
        "REGEDIT4\n\n; a comment\n[HKEY_CURRENT_USER\\A\\B]\n\"x\"=hex(2):25,50,25,\\\n  00\n"
        "\"y\"=\"ends in backslash\\\\\"\n";
    Hive h;
    ASSERT_TRUE(h.parse(text, kRoot));
    ASSERT_NE(h.value("A\\B", "x"), nullptr);
    EXPECT_EQ(h.value("A\\B", "x")->data, std::string("%P%\0", 4));
    EXPECT_EQ(h.value("A\\B", "y")->data, std::string("ends in backslash\\\0", 19));

    EXPECT_FALSE(h.parse("not a header\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n\"orphan\"=\"x\"\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n[HKEY_CURRENT_USERX]\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"v\"=hex:0g,01\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"v\"=dword:123\r\n", kRoot));
    EXPECT_FALSE(h.parse("REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"v\"=\"open\r\n", kRoot));
}

TEST(RegistryData, PercentReferencesAreExpandedWhereTheVariableIsSet) {
    auto lookup = [](const std::string& name, std::string& value) {
        value = name == "HOME" ? "/h" : "";
        return name == "HOME" || name == "E";
    };
    EXPECT_EQ(expandPercentReferences("%HOME%\\x%E%y", lookup), "/h\\xy");
    EXPECT_EQ(expandPercentReferences("%NOPE%%HOME%", lookup), "%NOPE%/h");
    EXPECT_EQ(expandPercentReferences("100%", lookup), "100%");
}

// The registry routines over the POSIX store: hives in a temporary
// configuration folder and a temporary machine folder, never the real ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/clsQXGenRtns.h"
#include "registry/registry.h"
#include "temp_folder.h"
#include "test_support.h"

using namespace qx;
namespace fs = std::filesystem;

namespace {
const std::int32_t kUser = static_cast<std::int32_t>(HKEY_CURRENT_USER);

class RegistryStore : public ::testing::Test {
protected:
    RegistryStore() {
        ::setenv("XDG_CONFIG_HOME", (tmp_.path() / "config").c_str(), 1);
        ::setenv("QXGENRTNS_MACHINE_REGISTRY", (tmp_.path() / "machine").c_str(), 1);
        reg::setAdminTest([] { return true; });
    }
    ~RegistryStore() override {
        reg::setAdminTest(nullptr);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("QXGENRTNS_MACHINE_REGISTRY");
    }
    std::string hive() const {
        std::ifstream in(tmp_.path() / "config/QXGenRtns/registry/HKEY_CURRENT_USER.reg", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    qxtest::TempFolder tmp_{"qxreg"};
    clsQXGenRtns lib_;
};
}  // namespace

TEST_F(RegistryStore, KeysAndValuesAreCreatedAndDeletedInTheHiveFile) {
    EXPECT_TRUE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"Software\\QxTest\\Sub"));
    EXPECT_FALSE(lib_.DeleteKey(HKEY_CURRENT_USER, u"Software\\QxTest"));  // has a subkey
    EXPECT_TRUE(lib_.DeleteKey(HKEY_CURRENT_USER, u"Software\\QxTest\\Sub"));
    EXPECT_FALSE(lib_.DeleteKey(HKEY_CURRENT_USER, u""));  // a root is never deleted
    lib_.SetKeyValue(HKEY_CURRENT_USER, u"software\\qxtest", u"v", Variant(u"1"), REG_SZ);
    lib_.SetKeyValue(HKEY_CURRENT_USER, u"Software\\QxTest", u"w", Variant(std::int16_t{42}), REG_BINARY);
    lib_.SetKeyValue(HKEY_CURRENT_USER, u"Software\\QxTest", u"n", Variant(std::int32_t{-2}), REG_DWORD);
    lib_.SetKeyValue(HKEY_CURRENT_USER, u"Software\\QxTest", u"x", Variant(u"%HOME%"), REG_EXPAND_SZ);
    lib_.SetKeyValue(HKEY_CURRENT_USER, u"Missing", u"lost", Variant(u"x"), REG_SZ);
    EXPECT_TRUE(lib_.DeleteValue(HKEY_CURRENT_USER, u"Software\\QxTest", u"V"));
    EXPECT_EQ(hive(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n[HKEY_CURRENT_USER\\Software\\QxTest]\r\n"
                      "\"w\"=hex:34,32,00\r\n\"n\"=dword:fffffffe\r\n");
    // No file beside the hive is left from the saves; the other roots have hives of their own.
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp_.path() / "config/QXGenRtns/registry"), {}), 1);
    EXPECT_TRUE(lib_.CreateNewKey(HKEY_CLASSES_ROOT, u".qxt"));
    EXPECT_TRUE(fs::exists(tmp_.path() / "machine/HKEY_CLASSES_ROOT.reg"));
}

TEST_F(RegistryStore, WritingNeedsAnAdministratorAndAValueThatConverts) {
    reg::setAdminTest([] { return false; });
    EXPECT_FALSE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"K"));
    EXPECT_EQ(lib_.SetValueEx(kUser, u"v", REG_SZ, Variant(u"x")), 0);
    EXPECT_EQ(hive(), "");
    reg::setAdminTest([] { return true; });
    EXPECT_RAISES(13, lib_.SetValueEx(kUser, u"num", REG_DWORD, Variant(u"many")));
    EXPECT_EQ(lib_.SetValueEx(0x1234567, u"x", REG_DWORD, Variant(std::int32_t{1})), 6);  // no such handle
}

TEST_F(RegistryStore, GetValueReadsEachTypeItsOwnWayFromAHiveItNeverOverwrites) {
    // The last line is damaged: what comes before it is read, and nothing is written over it.
    const std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\T]\r\n\"multi\"=hex(7):61,00,62,00,00\r\n"
                             "\"expand\"=hex(2):25,51,58,52,45,47,25,2f,78,00\r\n\"big\"=hex(5):00,00,01,02\r\n"
                             "\"bin\"=hex:41,42,43\r\n\"empty sz\"=hex(1):\r\n\"bad\"=what\r\n";
    fs::create_directories(tmp_.path() / "config/QXGenRtns/registry");
    std::ofstream(tmp_.path() / "config/QXGenRtns/registry/HKEY_CURRENT_USER.reg", std::ios::binary) << text;
    ::setenv("QXREG", "/srv/qx", 1);
    auto get = [&](const char16_t* name) {
        return lib_.GetValue(HKEY_CURRENT_USER, u"T", Variant(name), Variant(u"default"));
    };
    EXPECT_EQ(get(u"multi"), Variant(String(u"a\0b\0", 4)));
    EXPECT_EQ(get(u"expand"), Variant(u"/srv/qx/x"));
    EXPECT_EQ(get(u"big"), Variant(std::int32_t{258}));
    EXPECT_EQ(get(u"bin"), Variant(u"AB"));
    EXPECT_RAISES(5, get(u"empty sz"));
    EXPECT_EQ(get(u"absent"), Variant(u"default"));
    // Text queries: binary data as byte pairs of the data and one 0 more.
    EXPECT_EQ(lib_.GetString(kUser, u"T", u"bin"), u"\u4241C");
    ::unsetenv("QXREG");
    EXPECT_FALSE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"T\\New"));
    EXPECT_FALSE(lib_.DeleteValue(HKEY_CURRENT_USER, u"T", u"bin"));
    EXPECT_EQ(hive(), text);
}

TEST_F(RegistryStore, ConcurrentWritersLoseNothing) {
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            reg::setAdminTest([] { return true; });
            clsQXGenRtns lib;
            for (int i = t; i < 60; i += 4) lib.SetValueEx(kUser, toDecimal(i), REG_DWORD, Variant(std::int32_t{i}));
        });
    }
    for (auto& w : writers) w.join();
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(lib_.GetValue(HKEY_CURRENT_USER, u"", Variant(toDecimal(i)), Variant()), Variant(std::int32_t{i}));
}

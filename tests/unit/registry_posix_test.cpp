// The registry routines over the POSIX store: hives in a temporary
// configuration folder and a temporary machine folder, never the real ones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "registry/registry.h"
#include "temp_folder.h"
#include "test_support.h"

using namespace qx;
namespace fs = std::filesystem;

namespace {

bool yes() { return true; }
bool no() { return false; }

class EnvVar {
public:
    EnvVar(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvVar() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class RegistryStore : public ::testing::Test {
protected:
    RegistryStore()
        : config_(tmp_.path().string() + "/config"), machine_(tmp_.path().string() + "/machine"),
          home_("HOME", tmp_.path().string()), xdg_("XDG_CONFIG_HOME", config_),
          sys_("QXGENRTNS_MACHINE_REGISTRY", machine_) {
        reg::setAdminTest(&yes);
    }
    ~RegistryStore() override { reg::setAdminTest(nullptr); }

    fs::path userHive() const { return fs::path(config_) / "QXGenRtns/registry/HKEY_CURRENT_USER.reg"; }
    fs::path machineHive() const { return fs::path(machine_) / "HKEY_LOCAL_MACHINE.reg"; }
    void writeUserHive(const std::string& text) {
        fs::create_directories(userHive().parent_path());
        std::ofstream(userHive(), std::ios::binary) << text;
    }

    qxtest::TempFolder tmp_{"qxreg"};
    std::string config_;
    std::string machine_;
    EnvVar home_;
    EnvVar xdg_;
    EnvVar sys_;
    clsQXGenRtns lib_;
};

const std::int32_t kUser = static_cast<std::int32_t>(HKEY_CURRENT_USER);

}  // namespace

TEST_F(RegistryStore, KeysAreCreatedTestedAndDeleted) {
    EXPECT_FALSE(lib_.KeyExists(HKEY_CURRENT_USER, u"Software\\QxTest"));
    EXPECT_TRUE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"Software\\QxTest\\Sub"));
    EXPECT_TRUE(lib_.KeyExists(HKEY_CURRENT_USER, u"software\\qxtest"));
    EXPECT_TRUE(lib_.KeyExists(HKEY_CURRENT_USER, u"Software\\QxTest\\Sub"));
    EXPECT_NE(readFile(userHive()).find("[HKEY_CURRENT_USER\\Software\\QxTest\\Sub]\r\n"), std::string::npos);
    EXPECT_TRUE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"Software\\QxTest\\Sub"));  // already there
    EXPECT_FALSE(lib_.DeleteKey(HKEY_CURRENT_USER, u"Software\\QxTest"));          // has a subkey
    EXPECT_TRUE(lib_.DeleteKey(HKEY_CURRENT_USER, u"Software\\QxTest\\Sub"));
    EXPECT_FALSE(lib_.KeyExists(HKEY_CURRENT_USER, u"Software\\QxTest\\Sub"));
    EXPECT_FALSE(lib_.DeleteKey(HKEY_CURRENT_USER, u"Software\\QxTest\\Sub"));
    EXPECT_FALSE(lib_.DeleteKey(HKEY_CURRENT_USER, u""));  // a root is never deleted
    EXPECT_TRUE(lib_.KeyExists(HKEY_CURRENT_USER, u""));
    // No file beside the hive is left from the saves.
    int files = 0;
    for (const auto& e : fs::directory_iterator(userHive().parent_path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(RegistryStore, WritingNeedsAnAdministrator) {
    reg::setAdminTest(&no);
    EXPECT_FALSE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"Software\\QxTest"));
    EXPECT_FALSE(fs::exists(userHive()));
    reg::setAdminTest(&yes);
    ASSERT_TRUE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"Software\\QxTest"));
    reg::setAdminTest(&no);
    lib_.SetKeyValue(HKEY_CURRENT_USER, u"Software\\QxTest", u"v", Variant(u"x"), REG_SZ);
    EXPECT_EQ(lib_.SetValueEx(kUser, u"v", REG_SZ, Variant(u"x")), 0);
    EXPECT_EQ(lib_.GetValue(HKEY_CURRENT_USER, u"Software\\QxTest", Variant(u"v"), Variant(u"none")), Variant(u"none"));
    // Deleting is not gated.
    EXPECT_TRUE(lib_.DeleteKey(HKEY_CURRENT_USER, u"Software\\QxTest"));
}

TEST_F(RegistryStore, SetValueExWritesTextBinaryAndDwordOnly) {
    ASSERT_TRUE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"Software\\QxTest"));
    const auto key = u"Software\\QxTest";
    lib_.SetKeyValue(HKEY_CURRENT_USER, key, u"text", Variant(u"abc"), REG_SZ);
    lib_.SetKeyValue(HKEY_CURRENT_USER, key, u"bin", Variant(std::int16_t{42}), REG_BINARY);
    lib_.SetKeyValue(HKEY_CURRENT_USER, key, u"num", Variant(u"258"), REG_DWORD);
    lib_.SetKeyValue(HKEY_CURRENT_USER, key, u"neg", Variant(std::int32_t{-2}), REG_DWORD);
    lib_.SetKeyValue(HKEY_CURRENT_USER, key, u"exp", Variant(u"%HOME%"), REG_EXPAND_SZ);
    lib_.SetKeyValue(HKEY_CURRENT_USER, key, u"multi", Variant(u"a"), REG_MULTI_SZ);
    lib_.SetKeyValue(HKEY_CURRENT_USER, key, u"big", Variant(std::int32_t{1}), REG_DWORD_BIG_ENDIAN);
    lib_.SetKeyValue(HKEY_CURRENT_USER, u"Software\\Missing", u"lost", Variant(u"x"), REG_SZ);
    const std::string text = readFile(userHive());
    EXPECT_NE(text.find("\"text\"=\"abc\"\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"bin\"=hex:34,32,00\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"num\"=dword:00000102\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"neg\"=dword:fffffffe\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("exp"), std::string::npos);
    EXPECT_EQ(text.find("multi"), std::string::npos);
    EXPECT_EQ(text.find("big"), std::string::npos);
    EXPECT_EQ(text.find("Missing"), std::string::npos);
    // A conversion the value cannot take is the caller's error.
    EXPECT_RAISES(13, lib_.SetKeyValue(HKEY_CURRENT_USER, key, u"num", Variant(u"many"), REG_DWORD));
    // Straight on a handle: the codes of the system.
    EXPECT_EQ(lib_.SetValueEx(kUser, u"atroot", REG_SZ, Variant(u"r")), 0);
    EXPECT_EQ(lib_.SetValueEx(0, u"x", REG_SZ, Variant(u"r")), 6);
    EXPECT_EQ(lib_.SetValueEx(0x1234567, u"x", REG_DWORD, Variant(std::int32_t{1})), 6);
    EXPECT_EQ(lib_.SetValueEx(0, u"x", REG_EXPAND_SZ, Variant(u"r")), 0);
    EXPECT_EQ(lib_.GetValue(HKEY_CURRENT_USER, u"", Variant(u"atroot"), Variant()), Variant(u"r"));
}

TEST_F(RegistryStore, GetValueReadsEachTypeItsOwnWay) {
    EnvVar var("QX_REG_TEST_DIR", "/srv/qx");
    writeUserHive(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\T]\r\n"
        "\"sz\"=\"hello\"\r\n"
        "\"multi\"=hex(7):61,00,62,00,00\r\n"
        "\"expand\"=hex(2):25,51,58,5f,52,45,47,5f,54,45,53,54,5f,44,49,52,25,2f,78,00\r\n"
        "\"dword\"=dword:00000102\r\n"
        "\"big\"=hex(5):00,00,01,02\r\n"
        "\"bin\"=hex:41,42,43\r\n"
        "\"link\"=hex(6):41,00\r\n"
        "\"none\"=hex(0):7a,7a\r\n"
        "\"empty sz\"=hex(1):\r\n"
        "\"empty bin\"=hex:\r\n"
        "\"empty dword\"=hex(4):\r\n");
    auto get = [&](const char16_t* name) {
        return lib_.GetValue(HKEY_CURRENT_USER, u"T", Variant(name), Variant(u"default"));
    };
    EXPECT_EQ(get(u"sz"), Variant(u"hello"));
    EXPECT_EQ(get(u"multi"), Variant(String(u"a\0b\0", 4)));
    EXPECT_EQ(get(u"expand"), Variant(u"/srv/qx/x"));
    EXPECT_EQ(get(u"dword"), Variant(std::int32_t{258}));
    EXPECT_EQ(get(u"big"), Variant(std::int32_t{258}));
    EXPECT_EQ(get(u"bin"), Variant(u"AB"));
    EXPECT_EQ(get(u"link"), Variant(u"A"));
    EXPECT_EQ(get(u"none"), Variant(u"z"));
    EXPECT_EQ(get(u"empty dword"), Variant(std::int32_t{0}));
    EXPECT_RAISES(5, get(u"empty sz"));
    EXPECT_RAISES(5, get(u"empty bin"));
    // A missing value, or a missing key, gives the default exactly as passed.
    EXPECT_EQ(get(u"absent"), Variant(u"default"));
    EXPECT_EQ(lib_.GetValue(HKEY_CURRENT_USER, u"T", Variant(u"absent"), Variant::null()), Variant::null());
    EXPECT_EQ(lib_.GetValue(HKEY_CURRENT_USER, u"Nope", Variant(u"sz"), Variant(std::int16_t{7})),
              Variant(std::int16_t{7}));
    EXPECT_EQ(lib_.GetValue(HKEY_CURRENT_USER, u"T", Variant(u"sz"), Variant()), Variant(u"hello"));
    EXPECT_EQ(lib_.GetValue(static_cast<ERegistryClassConstants>(0x12345678u), u"T", Variant(u"sz"), Variant(true)),
              Variant(true));
    // The value name is the variant's text.
    EXPECT_EQ(lib_.GetValue(HKEY_CURRENT_USER, u"T", Variant(std::int16_t{5}), Variant(u"d")), Variant(u"d"));
}

TEST_F(RegistryStore, StringQueriesOnOpenKeysAndRoots) {
    writeUserHive(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"top\"=\"root value\"\r\n\r\n[HKEY_CURRENT_USER\\S]\r\n"
        "\"sz\"=hex(1):61,62,00,63,00\r\n\"bin\"=hex:41,00,42,01,43\r\n\"num\"=dword:00000001\r\n"
        "\"empty\"=hex(1):\r\n");
    const Variant bin = lib_.RegQueryStringValue(kUser, u"top");
    EXPECT_EQ(bin, Variant(u"root value"));
    EXPECT_EQ(lib_.GetString(kUser, u"S", u"sz"), u"ab");
    // Binary data comes back as bytes 0..n, one more than the data, the last 0.
    EXPECT_EQ(lib_.GetString(kUser, u"S", u"bin"), String(u"A\u0142C", 3));
    EXPECT_EQ(lib_.GetString(kUser, u"S", u"num"), u"");
    EXPECT_EQ(lib_.GetString(kUser, u"S", u"empty"), u"");
    EXPECT_EQ(lib_.GetString(kUser, u"S", u"absent"), u"");
    EXPECT_EQ(lib_.GetString(kUser, u"Nope", u"sz"), u"");
    EXPECT_EQ(lib_.GetString(0x7654321, u"S", u"sz"), u"");
    EXPECT_TRUE(lib_.RegQueryStringValue(kUser, u"absent").isEmpty());
    EXPECT_TRUE(lib_.RegQueryStringValue(0, u"top").isEmpty());
    EXPECT_TRUE(lib_.RegQueryStringValue(0x7654321, u"top").isEmpty());
}

TEST_F(RegistryStore, ValuesAreDeletedByName) {
    ASSERT_TRUE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"K"));
    lib_.SetKeyValue(HKEY_CURRENT_USER, u"K", u"v", Variant(u"1"), REG_SZ);
    EXPECT_TRUE(lib_.DeleteValue(HKEY_CURRENT_USER, u"K", u"V"));
    EXPECT_FALSE(lib_.DeleteValue(HKEY_CURRENT_USER, u"K", u"v"));
    EXPECT_FALSE(lib_.DeleteValue(HKEY_CURRENT_USER, u"Nope", u"v"));
    EXPECT_EQ(readFile(userHive()), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n");
}

TEST_F(RegistryStore, DamagedHiveIsReadButNeverOverwritten) {
    const std::string damaged = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"ok\"=\"yes\"\r\n\"bad\"=what\r\n";
    writeUserHive(damaged);
    EXPECT_EQ(lib_.GetValue(HKEY_CURRENT_USER, u"K", Variant(u"ok"), Variant()), Variant(u"yes"));
    EXPECT_FALSE(lib_.CreateNewKey(HKEY_CURRENT_USER, u"K\\New"));
    lib_.SetKeyValue(HKEY_CURRENT_USER, u"K", u"ok", Variant(u"no"), REG_SZ);
    EXPECT_FALSE(lib_.DeleteValue(HKEY_CURRENT_USER, u"K", u"ok"));
    EXPECT_EQ(readFile(userHive()), damaged);
}

TEST_F(RegistryStore, MachineRootsHaveTheirOwnHives) {
    EXPECT_TRUE(lib_.CreateNewKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Vendor"));
    EXPECT_TRUE(lib_.CreateNewKey(HKEY_CLASSES_ROOT, u".qxt"));
    EXPECT_TRUE(lib_.CreateNewKey(HKEY_USERS, u".DEFAULT"));
    EXPECT_FALSE(lib_.KeyExists(HKEY_CURRENT_USER, u"SOFTWARE\\Vendor"));
    EXPECT_TRUE(fs::exists(machineHive()));
    EXPECT_TRUE(fs::exists(fs::path(machine_) / "HKEY_CLASSES_ROOT.reg"));
    EXPECT_TRUE(fs::exists(fs::path(machine_) / "HKEY_USERS.reg"));
    EXPECT_FALSE(fs::exists(userHive()));
    EXPECT_FALSE(lib_.CreateNewKey(static_cast<ERegistryClassConstants>(0x80000005u), u"X"));
}

TEST_F(RegistryStore, RegistryInfoComesFromTheMachineHive) {
    WindowsRegistryInfo wri{u"keep1", u"keep2", u"keep3", u"keep4"};
    lib_.GetRegistryInfo(wri);
    EXPECT_EQ(wri.RegOwner, u"keep1");
    EXPECT_EQ(wri.ProductId, u"keep4");
    fs::create_directories(machine_);
    std::ofstream(machineHive(), std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
           "\"RegisteredOwner\"=\"Ann\"\r\n\"ProductName\"=\"Qx OS\"\r\n\"ProductId\"=dword:00000007\r\n";
    lib_.GetRegistryInfo(wri);
    EXPECT_EQ(wri.RegOwner, u"Ann");
    EXPECT_EQ(wri.RegCompany, u"");
    EXPECT_EQ(wri.Product, u"Qx OS");
    EXPECT_EQ(wri.ProductId, u"7");
}

TEST_F(RegistryStore, ConcurrentWritersLoseNothing) {
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            reg::setAdminTest(&yes);
            clsQXGenRtns lib;
            for (int i = 0; i < 15; ++i)
                lib.SetValueEx(kUser, fromNarrow("v" + std::to_string(t) + "_" + std::to_string(i)), REG_DWORD,
                               Variant(std::int32_t{t * 100 + i}));
        });
    }
    for (auto& w : writers) w.join();
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(lib_.GetValue(HKEY_CURRENT_USER, u"",
                                    Variant(fromNarrow("v" + std::to_string(t) + "_" + std::to_string(i))), Variant()),
                      Variant(std::int32_t{t * 100 + i}));
}

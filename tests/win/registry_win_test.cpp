// The Windows port of the registry, system and launch routines against the
// system's own registry, token and processes (a key of the current user's
// that the test removes).
#include <windows.h>

#include <gtest/gtest.h>

#include "core/clsQXGenRtns.h"
#include "core/msgbox.h"
#include "test_support.h"

using namespace qx;

namespace {
const char* const kKey = "Software\\QXGenRtnsWinTest";
const std::int32_t kUser = static_cast<std::int32_t>(0x80000001u);
const auto kUserRoot = static_cast<ERegistryClassConstants>(0x80000001u);

class WinRegistry : public ::testing::Test {
protected:
    WinRegistry() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~WinRegistry() override {
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }
    void put(const char* name, DWORD type, const std::string& data) {
        RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    }
    std::string raw(const char* name, DWORD* type = nullptr) {
        BYTE buf[256];
        DWORD size = sizeof buf;
        DWORD t = 0;
        if (RegQueryValueExA(key_, name, nullptr, &t, buf, &size) != ERROR_SUCCESS) return "<none>";
        if (type) *type = t;
        return std::string(reinterpret_cast<char*>(buf), size);
    }
    std::int32_t handle() const { return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(key_)); }

    HKEY key_ = nullptr;
    clsQXGenRtns lib_;
};
}  // namespace

TEST_F(WinRegistry, ValuesWrittenThroughAnOpenHandleAreTheSystemsBytes) {
    EXPECT_EQ(lib_.SetValueEx(handle(), u"text", 1, Variant(u"abc")), 0);
    EXPECT_EQ(lib_.SetValueEx(handle(), u"bin", 3, Variant(std::int16_t{42})), 0);
    EXPECT_EQ(lib_.SetValueEx(handle(), u"num", 4, Variant(u"258")), 0);
    EXPECT_EQ(lib_.SetValueEx(handle(), u"exp", 2, Variant(u"x")), 0);
    DWORD type = 0;
    EXPECT_EQ(raw("text", &type), std::string("abc\0", 4));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw("bin", &type), std::string("42\0", 3));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw("num"), std::string("\x02\x01\0\0", 4));
    EXPECT_EQ(raw("exp"), "<none>");
    lib_.SetKeyValue(kUserRoot, fromNarrow(kKey), u"viaKey", Variant(u"k"),
                     static_cast<ERegistryValueTypes>(1));
    EXPECT_EQ(raw("viaKey"), std::string("k\0", 2));
    EXPECT_EQ(lib_.SetValueEx(0x1234, u"x", 1, Variant(u"r")), ERROR_INVALID_HANDLE);
}

TEST_F(WinRegistry, ValuesReadByType) {
    SetEnvironmentVariableA("QX_REG_WIN_DIR", "C:\\qx");
    put("big", REG_DWORD_BIG_ENDIAN, std::string("\0\0\x01\x02", 4));
    put("multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    put("exp", REG_EXPAND_SZ, std::string("%QX_REG_WIN_DIR%\\y\0", 19));
    put("bin3", REG_BINARY, "ABC");
    put("empty", REG_SZ, "");
    const auto get = [&](const char16_t* name) {
        return lib_.GetValue(kUserRoot, fromNarrow(kKey), Variant(name), Variant(u"d"));
    };
    EXPECT_EQ(get(u"big"), Variant(std::int32_t{258}));
    EXPECT_EQ(get(u"multi"), Variant(String(u"a\0b\0", 4)));
    EXPECT_EQ(get(u"exp"), Variant(u"C:\\qx\\y"));
    EXPECT_EQ(get(u"bin3"), Variant(u"AB"));
    EXPECT_EQ(get(u"absent"), Variant(u"d"));
    EXPECT_RAISES(5, get(u"empty"));
    const Variant bytes = lib_.RegQueryStringValue(handle(), u"bin3");
    ASSERT_EQ(bytes.type(), Variant::Type::vbArray);
    EXPECT_EQ(bytes.toArray().size(), 4u);
    EXPECT_EQ(bytes.toArray()[3], Variant(std::uint8_t{0}));
    EXPECT_EQ(lib_.GetString(kUser, fromNarrow(kKey), u"bin3"), String(u"\u4241C", 2));
    EXPECT_TRUE(lib_.DeleteValue(kUserRoot, fromNarrow(kKey), u"bin3"));
    EXPECT_EQ(raw("bin3"), "<none>");
}

TEST_F(WinRegistry, RegistryInfoIsTheMachinesCurrentVersionKey) {
    char product[256] = {};
    DWORD size = sizeof product;
    ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName",
                           RRF_RT_REG_SZ, nullptr, product, &size),
              ERROR_SUCCESS);
    WindowsRegistryInfo wri{u"x", u"x", u"x", u"x"};
    lib_.GetRegistryInfo(wri);
    EXPECT_EQ(wri.Product, fromNarrow(product));
}

TEST(WinSystem, UserAndAdministrator) {
    char name[64] = {};
    DWORD size = sizeof name;
    ASSERT_TRUE(GetUserNameA(name, &size));
    clsQXGenRtns lib;
    EXPECT_EQ(lib.WhoAmI(), fromNarrow(name));
    EXPECT_TRUE(lib.IsAdmin());  // every Wine process holds the administrators' group
}

TEST(WinLaunch, WaitsForTheProgramAndReportsStartFailures) {
    int shown = 0;
    String text;
    setMessageBoxHandler([&](const String& t, std::int32_t, const String&) {
        ++shown;
        text = t;
        return 1;
    });
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "qx launch win.txt";
    DeleteFileA(file.c_str());
    clsQXGenRtns lib;
    lib.ShellAndWait(fromNarrow("cmd /c for /l %i in (1,1,300) do @echo %i> \"" + file + "\""), vbHide);
    HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    char buf[16] = {};
    DWORD got = 0;
    ReadFile(h, buf, sizeof buf - 1, &got, nullptr);
    CloseHandle(h);
    EXPECT_EQ(std::string(buf), "300\r\n");
    DeleteFileA(file.c_str());
    EXPECT_EQ(shown, 0);
    lib.ShellAndWait(u"C:\\no\\such\\program.exe", vbNormalFocus);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(text, u"Error starting task C:\\no\\such\\program.exe\r\nFile not found");
    setMessageBoxHandler(nullptr);
}
